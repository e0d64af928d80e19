#include "SpinEditQt.h"

#include "SpinBoxArrows.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include <algorithm>
#include <climits>

namespace AUILib {

namespace {

// Steps near the ends of the 64-bit range stop at the end instead of overflowing.
long long SaturatedProduct(long long a, long long b)
{
    long long product = 0;
    if (!__builtin_mul_overflow(a, b, &product))
        return product;
    return (a < 0) == (b < 0) ? LLONG_MAX : LLONG_MIN;
}

long long SaturatedSum(long long a, long long b)
{
    long long sum = 0;
    if (!__builtin_add_overflow(a, b, &sum))
        return sum;
    return b > 0 ? LLONG_MAX : LLONG_MIN;
}

bool IsWholeNumber(const QString& text)
{
    const int digitsFrom = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (text.size() == digitsFrom)
        return false;
    return std::all_of(text.begin() + digitsFrom, text.end(),
                       [](QChar character) { return character >= QLatin1Char('0') && character <= QLatin1Char('9'); });
}

} // namespace

SpinEditQt::SpinEditQt()
{
    Apply(0);
}

SpinEditQt::~SpinEditQt() = default;

void SpinEditQt::SetRange(long long a, long long b)
{
    m_minimum = std::min(a, b);
    m_maximum = std::max(a, b);
    Apply(m_value);
    updateGeometry();
}

void SpinEditQt::SetSuffix(const QString& suffix)
{
    m_suffix = suffix;
    Apply(m_value);
    updateGeometry();
}

QSize SpinEditQt::sizeHint() const
{
    ensurePolished();
    const QFontMetrics metrics(fontMetrics());
    const QString space(QLatin1Char(' '));
    const int textWidth = std::max(metrics.horizontalAdvance(TextOf(m_minimum) + space),
                                   metrics.horizontalAdvance(TextOf(m_maximum) + space));
    const int cursorWidth = 2;
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    const QSize content(textWidth + cursorWidth, lineEdit()->sizeHint().height());
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option, content, this);
}

void SpinEditQt::SetBalloonNaNtext(const QString& title, const QString& text)
{
    m_nanTitle = title;
    m_nanText = text;
}

QString SpinEditQt::TextOf(long long value) const
{
    return QString::number(value) + m_suffix;
}

void SpinEditQt::Apply(long long value)
{
    const long long clamped = std::clamp(value, m_minimum, m_maximum);
    lineEdit()->setText(TextOf(clamped));
    if (clamped == m_value)
        return;
    m_value = clamped;
    emit valueChanged(clamped);
}

QValidator::State SpinEditQt::validate(QString& input, int& pos) const
{
    if (!m_suffix.isEmpty()) {
        if (input.endsWith(m_suffix)) {
            input.remove(m_suffix);
        } else {
            // The user deleted into the suffix: what is left of it goes, and the suffix comes back.
            const QString rest = m_suffix.left(m_suffix.size() - 1);
            if (!rest.isEmpty())
                input.remove(rest);
            pos = input.size();
        }
    }
    const QValidator::State state = ValidateNumber(input);
    if (state == QValidator::Acceptable)
        input += m_suffix;
    return state;
}

QValidator::State SpinEditQt::ValidateNumber(QString& number) const
{
    if (number.isEmpty() || (number == QLatin1String("-") && (m_minimum < 0 || m_maximum < 0))) {
        m_typedValue = 0;
        return QValidator::Acceptable;
    }
    bool ok = false;
    const long long typed = number.toLongLong(&ok, 10);
    if (!ok)
        return IsWholeNumber(number) ? SnapBeyond64Bits(number) : QValidator::Invalid;
    if (typed >= m_minimum && typed <= m_maximum) {
        m_typedValue = typed;
        return QValidator::Acceptable;
    }
    if (!m_correction && typed > m_maximum && typed > 0)
        return SnapTo(m_maximum, number);
    if (!m_correction && typed < m_minimum && typed < 0)
        return SnapTo(m_minimum, number);
    // Still on the way into the range: 5 may become 50 in 10..100, -5 may become -50 in -100..-10.
    if ((typed >= 0 && typed < m_minimum) || (typed > m_maximum && typed < 0)) {
        m_typedValue = typed;
        return QValidator::Acceptable;
    }
    return QValidator::Invalid;
}

QValidator::State SpinEditQt::SnapBeyond64Bits(QString& number) const
{
    if (m_correction)
        return QValidator::Invalid;
    return SnapTo(number.startsWith(QLatin1Char('-')) ? m_minimum : m_maximum, number);
}

QValidator::State SpinEditQt::SnapTo(long long bound, QString& number) const
{
    number = QString::number(bound);
    m_typedValue = bound;
    return QValidator::Acceptable;
}

void SpinEditQt::Commit()
{
    const QString text = lineEdit()->text();
    bool ok = false;
    const long long typed = text.toLongLong(&ok, 10);
    if (ok) {
        Apply(typed);
        return;
    }
    if (!m_suffix.isEmpty() && !text.endsWith(m_suffix)) {
        Apply(m_value);
        return;
    }
    const long long number = text.left(text.size() - m_suffix.size()).toLongLong(&ok, 10);
    Apply(ok ? number : m_value);
}

void SpinEditQt::SelectNumber()
{
    lineEdit()->setSelection(0, lineEdit()->text().size() - m_suffix.size());
}

void SpinEditQt::stepBy(int steps)
{
    if (isReadOnly())
        return;
    if (lineEdit()->text() != TextOf(m_value))
        Commit();
    const long long change = SaturatedProduct(steps, m_step);
    long long next = SaturatedSum(m_value, change);
    if (wrapping()) {
        if (next > m_maximum)
            next = m_value == m_maximum ? m_minimum : m_maximum;
        else if (next < m_minimum)
            next = m_value == m_minimum ? m_maximum : m_minimum;
    } else {
        next = std::clamp(next, m_minimum, m_maximum);
    }
    Apply(next);
    emit arrowValueChanged(next, change);
    SelectNumber();
}

QAbstractSpinBox::StepEnabled SpinEditQt::stepEnabled() const
{
    if (isReadOnly())
        return StepNone;
    StepEnabled enabled = StepNone;
    if (wrapping() || m_value < m_maximum)
        enabled |= StepUpEnabled;
    if (wrapping() || m_value > m_minimum)
        enabled |= StepDownEnabled;
    return enabled;
}

void SpinEditQt::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Enter || key == Qt::Key_Return) {
        SelectNumber();
        Commit();
    }
    if ((key == Qt::Key_Down && m_value == m_minimum) || (key == Qt::Key_Up && m_value == m_maximum))
        emit arrowValueChanged(m_value, 0);
    QAbstractSpinBox::keyPressEvent(event);

    if (m_suffix.isEmpty())
        return;
    // The cursor stays in front of the suffix.
    const QString text = lineEdit()->text();
    const int suffixStart = text.lastIndexOf(m_suffix);
    if (suffixStart < 0 || lineEdit()->cursorPosition() <= suffixStart)
        return;
    if (key == Qt::Key_Backspace || key == Qt::Key_Left)
        lineEdit()->setCursorPosition(suffixStart);
    else if (key == Qt::Key_Right)
        lineEdit()->setCursorPosition(text.size());
}

bool SpinEditQt::PressedArrowAtItsBound(const QPoint& at) const
{
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    const QStyle::SubControl arrow = SpinBoxArrowAt(this, option, at);
    return (arrow == QStyle::SC_SpinBoxUp && m_value == m_maximum)
        || (arrow == QStyle::SC_SpinBoxDown && m_value == m_minimum);
}

void SpinEditQt::mousePressEvent(QMouseEvent* event)
{
    QAbstractSpinBox::mousePressEvent(event);
    // A press that cannot step reports a zero change, once the value has stayed since the last one.
    if (m_value == m_pressValue && PressedArrowAtItsBound(event->localPos().toPoint()))
        emit arrowValueChanged(m_value, 0);
    m_pressValue = m_value;
}

void SpinEditQt::focusOutEvent(QFocusEvent* event)
{
    if (m_correction && (m_typedValue < m_minimum || m_typedValue > m_maximum))
        Apply(m_value);
    else
        Commit();
    QAbstractSpinBox::focusOutEvent(event);
}

} // namespace AUILib
