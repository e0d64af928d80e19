#pragma once

#include <QAbstractSpinBox>
#include <QString>

namespace AUILib {

// A spin box that keeps its value, range and step as 64-bit integers itself: Qt's own integer
// spin box stops at 32 bits. The text is the number followed by the suffix.
class SpinEditQt : public QAbstractSpinBox
{
    Q_OBJECT
public:
    SpinEditQt();
    ~SpinEditQt() override;

    void SetRange(long long a, long long b);
    void SetStep(long long step) { m_step = step; }
    void SetSuffix(const QString& suffix);
    const QString& Suffix() const { return m_suffix; }
    void SetBalloonNaNtext(const QString& title, const QString& text);
    void SetLastValidValueCorrection(bool on) { m_correction = on; }

    // Never Intermediate: a partial entry that may still reach the range is Acceptable.
    QValidator::State validate(QString& input, int& pos) const override;
    void stepBy(int steps) override;
    // Wide enough for both bounds with the suffix: Qt's own measure knows nothing of them.
    QSize sizeHint() const override;

signals:
    void valueChanged(long long i);
    void arrowValueChanged(long long i, long long s);

public slots:
    // The number the text held at its last validation.
    long long GetValue() const { return m_typedValue; }
    void SetValue(long long expectedNewValue) { Apply(expectedNewValue); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    StepEnabled stepEnabled() const override;

private:
    // The one way the value changes: brought inside the range, shown, reported when it differs.
    void Apply(long long value);
    // Takes what the text holds, or shows the value again when it holds no number.
    void Commit();
    void SelectNumber();
    QString TextOf(long long value) const;
    QValidator::State ValidateNumber(QString& number) const;
    // Digits too many for 64 bits lie beyond the bound on their side of zero.
    QValidator::State SnapBeyond64Bits(QString& number) const;
    QValidator::State SnapTo(long long bound, QString& number) const;
    bool PressedArrowAtItsBound(const QPoint& at) const;

    QString m_suffix;
    long long m_step = 1;
    long long m_minimum = 0;
    long long m_maximum = 100;
    long long m_value = 0;
    QString m_nanTitle;
    QString m_nanText;
    mutable long long m_typedValue = 0;
    long long m_pressValue = 0;
    bool m_correction = true;
};

} // namespace AUILib
