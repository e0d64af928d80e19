#pragma once

#include "PicaPoint.h"

#include <QDoubleSpinBox>
#include <QStringList>

namespace AUILib {

class CustomLineEdit;
class DoubleSpinEdit;

// The double spin box with a decimal character of its own and the pica mode. Where its rules say
// "the locale", they mean the system's: the decimal character stands in for its decimal point.
class DoubleSpinEditQt : public QDoubleSpinBox
{
    Q_OBJECT
public:
    explicit DoubleSpinEditQt(DoubleSpinEdit* owner);
    ~DoubleSpinEditQt() override;

    // From then on the widget is a plain spin box for the control's users.
    void ReleaseOwner() { m_owner = nullptr; }

    void SetStep(double step) { m_step = step; }
    void SetBalloonNaNtext(const QString& title, const QString& text);
    void SetLastValidValueCorrection(bool on) { m_correction = on; }
    // The decimals shown; in pica mode those of the points, while the box keeps what the carrier needs.
    void SetPrecision(int decimals);
    void SetDecimalChar(char decimal);
    // Returns the pica field it installed in place of the previous one.
    CustomLineEdit* SupportPicaPoints(bool on);
    bool IsPica() const { return m_pica; }

    // The pica length the value and the typed fraction stand for.
    PicaPoint PicaValue() const;
    // Shows the length in pica form and takes its carrier as the value.
    void SetPicaValue(PicaPoint value);
    // PicaParse with this box's separator and the locale's decimal point.
    QStringList ParsePica(const QString& text) const;

    QValidator::State validate(QString& input, int& pos) const override;
    void stepBy(int steps) override;
    double valueFromText(const QString& text) const override;
    QString textFromValue(double value) const override;

signals:
    void arrowValueChanged(double i, double s);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void OnPicaTextChanged(const QString& text);
    // What the carrier does not hold of a pica text: the fraction, the number of point digits and
    // the sign.
    void TakeTextParts(const QStringList& entries);
    // The pica text of a carrier value, as the field shows it.
    QString PicaTextOf(double carrier) const;
    // A number beyond a bound becomes the bound.
    void SnapBeyondBounds(QString& input) const;
    // The value as the field shows it, with the system's decimal point for the box's own validation.
    QString EditableText(double value) const;
    void ReadPicaFromText();
    QChar DecimalChar() const { return QLatin1Char(m_decimalChar); }
    void ApplyPrecision();

    DoubleSpinEdit* m_owner;
    QString m_nanTitle;
    QString m_nanText;
    double m_pressValue = 0.0;
    double m_step;
    bool m_correction = true;
    char m_decimalChar = 0;
    bool m_pica = false;
    QString m_fractionText;
    int m_pointDigits = 0;
    bool m_negative = false;
    int m_precision;
};

} // namespace AUILib
