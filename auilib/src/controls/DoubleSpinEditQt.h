#pragma once

#include "PicaPoint.h"

#include <QDoubleSpinBox>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

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
    // In pica mode the bounds are lengths in picas, kept apart from the box's own range; outside it
    // they are the box's range.
    void SetBounds(double minimum, double maximum);
    // The box's value; in pica mode the carrier, and the length it stands for is held within the bounds.
    void SetNumber(double number);
    void SetBalloonNaNtext(const QString& title, const QString& text);
    void SetLastValidValueCorrection(bool on) { m_correction = on; }
    // The decimals shown; in pica mode those of the points, while the box keeps what the carrier needs.
    void SetPrecision(int decimals);
    void SetDecimalChar(char decimal);
    // Returns the pica field, which takes pica text from the first call on.
    CustomLineEdit* SupportPicaPoints(bool on);
    bool IsPica() const { return m_pica; }

    // The pica length the value stands for, as it was last taken; text being typed is not.
    PicaPoint PicaValue() const;
    // Shows the length, held within the bounds, in pica form and takes its carrier as the value.
    void SetPicaValue(PicaPoint value);
    // PicaParse with this box's separator and the locale's decimal point.
    QStringList ParsePica(const QString& text) const;

    QValidator::State validate(QString& input, int& pos) const override;
    void stepBy(int steps) override;
    StepEnabled stepEnabled() const override;
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
    // What the carrier does not hold of the pica text it was taken from.
    struct TextParts
    {
        QString fraction; // with its decimal point: .5
        int pointDigits = 0;
        bool negative = false; // the sign of a length that the zero carrier cannot hold
    };
    // The length held when pica mode went off, and the number the plain box made of its carrier.
    struct LengthOff
    {
        double carrier;
        TextParts parts;
        double number;
        bool moved = false; // by a range set meanwhile, which the handlers have not heard
    };
    static TextParts PartsOf(const QStringList& entries);
    // The entries of a length written as the field shows it, held within the bounds, and their carrier.
    QStringList BoundedEntries(PicaPoint length) const;
    static double CarrierOf(const QStringList& entries);
    CustomLineEdit* PicaField();
    void TurnPicaOn();
    void TurnPicaOff();
    // No number was set or entered since pica mode went off.
    bool IsLengthOffUntouched() const;
    // Holds the length held when pica mode went off within a range set since.
    void HoldLengthOffWithin(double minimum, double maximum);
    // Runs a change of the plain box's range or precision, which moves its number only to fit.
    void KeepingLengthOff(const std::function<void()>& fit);
    // Runs a change whose length the handlers have heard already.
    void WithoutPicaReports(const std::function<void()>& change);
    // The parts of a carrier set as a number: its own decimals are the point digits.
    TextParts DigitsOf(double carrier) const;
    // Takes the carrier with the parts it is read with, the length it stands for held within the bounds.
    void HoldCarrier(double carrier, const TextParts& parts);
    // Lengths compare as the field shows them, counted in the last decimal of its points.
    double ShownPoints(double picas) const;
    bool IsWithinBounds(PicaPoint length) const;
    PicaPoint WithinBounds(PicaPoint length) const;
    // Where the value stands for the arrows: in pica mode its length as shown.
    double Position() const;
    bool AtMinimum() const;
    bool AtMaximum() const;
    // The pica text of a carrier value, as the field shows it, and the length it reads as.
    QString PicaTextOf(double carrier, const TextParts& parts) const;
    PicaPoint LengthCarriedBy(double carrier, const TextParts& parts) const;
    // A number beyond a bound becomes the bound.
    void SnapBeyondBounds(QString& input) const;
    // The value as the field shows it, with the system's decimal point for the box's own validation.
    QString EditableText(double value) const;
    // The length the field's text reads as, when it reads as one.
    std::optional<PicaPoint> TypedLength() const;
    void ReadPicaFromText();
    void FinishPicaTyping(QKeyEvent* event);
    // An arrow pressed at the bound it points to reports a zero change.
    void ReportArrowAtBound();
    QChar DecimalChar() const { return QLatin1Char(m_decimalChar); }
    void ApplyPrecision();
    void ApplyCarrierRange();

    DoubleSpinEdit* m_owner;
    QString m_nanTitle;
    QString m_nanText;
    double m_pressPosition = 0.0;
    double m_step;
    bool m_correction = true;
    char m_decimalChar = 0;
    // Typing then goes into the pica field, whose text the value follows only when it is taken.
    bool m_pica = false;
    TextParts m_parts;
    std::optional<LengthOff> m_lengthOff;
    int m_precision;
    // The bounds in picas: in pica mode, apart from the box's range; while it is off, the range that the
    // length held then keeps within.
    double m_minimum = 0.0;
    double m_maximum = 0.0;
    QPointer<QValidator> m_picaValidator;
    // Whether pica mode was on as each text change being handled began; changes nest.
    std::vector<bool> m_textChangeModes;
};

} // namespace AUILib
