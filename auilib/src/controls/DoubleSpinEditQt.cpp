#include "DoubleSpinEditQt.h"

#include "AUILibConfig.h"
#include "CustomLineEdit.h"
#include "DoubleSpinEdit.h"
#include "PicaPoints.h"
#include "SpinBoxArrows.h"

#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QRegExpValidator>

#include <algorithm>
#include <cctype>
#include <cmath>

namespace AUILib {

namespace {

// The carrier of 3p10 is 3.10: two decimals hold the whole points, which fold below 12.
constexpr int kCarrierDecimals = 2;
// Lengths are read to a millionth of a point; finer decimals tell no lengths apart.
constexpr int kFinestDecimals = 6;

QChar SystemDecimalPoint()
{
    return QLocale::system().decimalPoint();
}

// Numbers in the system's notation, so that its decimal point is there to be replaced.
QString SystemNumber(double value, char format, int precision)
{
    QLocale locale = QLocale::system();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, format, precision);
}

} // namespace

DoubleSpinEditQt::DoubleSpinEditQt(DoubleSpinEdit* owner)
    : m_owner(owner)
    , m_step(singleStep())
    , m_precision(decimals())
{
    // The pica field is the box's from the start, with the box's validator until pica mode first comes
    // on: a field put in place of the box's own then would be deleted under the key being handled, when
    // a handler of the change that key made turns pica mode on.
    auto* field = new CustomLineEdit(this);
    field->setObjectName(lineEdit()->objectName());
    // The mode is taken ahead of the box's own reading of the text: a handler of the plain number it
    // reports may turn pica mode on before the pica handler hears the same change.
    connect(field, &QLineEdit::textChanged, this, [this] { m_textChangeModes.push_back(m_pica); });
    setLineEdit(field);
    connect(field, &QLineEdit::textChanged, this, &DoubleSpinEditQt::OnPicaTextChanged);
}

DoubleSpinEditQt::~DoubleSpinEditQt() = default;

void DoubleSpinEditQt::SetBalloonNaNtext(const QString& title, const QString& text)
{
    m_nanTitle = title;
    m_nanText = text;
}

void DoubleSpinEditQt::SetDecimalChar(char decimal)
{
    if (decimal > 0 && std::isdigit(static_cast<unsigned char>(decimal)))
        return;
    m_decimalChar = decimal;
    setValue(value());
}

void DoubleSpinEditQt::SetPrecision(int decimals)
{
    m_precision = decimals;
    KeepingLengthOff([this] { ApplyPrecision(); });
}

void DoubleSpinEditQt::ApplyPrecision()
{
    setDecimals(m_pica ? std::max(m_precision, kCarrierDecimals) : m_precision);
}

void DoubleSpinEditQt::SetBounds(double minimum, double maximum)
{
    if (!m_pica) {
        KeepingLengthOff([&] { setRange(minimum, maximum); });
        HoldLengthOffWithin(minimum, maximum);
        return;
    }
    const PicaPoint length = PicaValue();
    // As the box does: a maximum below the minimum is the minimum.
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    // The length goes within the new bounds before the box's range narrows, which would move the
    // carrier, and report it, on its own.
    setRange(std::min(this->minimum(), m_minimum - 1), std::max(this->maximum(), m_maximum + 1));
    if (!IsWithinBounds(length))
        SetPicaValue(length);
    ApplyCarrierRange();
}

void DoubleSpinEditQt::SetNumber(double number)
{
    if (!m_pica) {
        // A number set now is read with its own digits when pica mode comes back.
        m_lengthOff.reset();
        setValue(number);
        return;
    }
    // Taken as the box holds it, to its decimals. A new carrier is read with digits of its own, never
    // with those of the length it replaces; the carrier already held keeps its length.
    const double carrier = QString::number(number, 'f', decimals()).toDouble();
    HoldCarrier(carrier, carrier == value() ? m_parts : DigitsOf(carrier));
}

void DoubleSpinEditQt::HoldCarrier(double carrier, const TextParts& parts)
{
    const PicaPoint length = LengthCarriedBy(carrier, parts);
    // A carrier outside the box's range would be moved by it: 3.25 (3p25, 5p1) to 4 under a minimum of
    // 5 picas. The length is written in full instead.
    if (!IsWithinBounds(length) || carrier < minimum() || carrier > maximum()) {
        SetPicaValue(length);
        return;
    }
    m_parts = parts;
    setValue(carrier);
}

DoubleSpinEditQt::TextParts DoubleSpinEditQt::DigitsOf(double carrier) const
{
    // As many point digits as the carrier has decimals, as the box rounds it: 3.25 is 3p25.
    QString digits = QString::number(carrier, 'f', decimals()).section(QLatin1Char('.'), 1);
    while (digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
    TextParts parts;
    parts.pointDigits = digits.size();
    return parts;
}

void DoubleSpinEditQt::ApplyCarrierRange()
{
    // The carrier is no length: 1p10 is carried as 1.10, above the 1.5 picas of 1p6. The carrier of a
    // length within the bounds lies within a pica of it, and the bounds themselves hold the length.
    setRange(m_minimum - 1, m_maximum + 1);
}

CustomLineEdit* DoubleSpinEditQt::SupportPicaPoints(bool on)
{
    // The focus stays in the box, so the field is never left: a length being typed in it is taken as
    // leaving it would take it.
    if (m_pica)
        ReadPicaFromText();
    m_decimalChar = 'p';
    setValue(value());
    if (on && !m_pica)
        TurnPicaOn();
    else if (!on && m_pica)
        TurnPicaOff();
    else
        ApplyPrecision();
    return PicaField();
}

CustomLineEdit* DoubleSpinEditQt::PicaField()
{
    auto* field = static_cast<CustomLineEdit*>(lineEdit());
    if (m_picaValidator)
        return field;
    // A plain number of picas is written with a full stop, the points' fraction with the system's decimal
    // point, as the field shows it and reads it back.
    const QString fraction = QRegExp::escape(SystemDecimalPoint());
    const QString pattern = QStringLiteral("(\\d+)?(\\.?\\d+)?|(\\d+)?p(\\d+)?(%1?\\d+)?").arg(fraction);
    m_picaValidator = new QRegExpValidator(QRegExp(pattern), field);
    field->setValidator(m_picaValidator);
    return field;
}

void DoubleSpinEditQt::TurnPicaOn()
{
    // Read before the carrier's precision comes back, which may move the plain number to fit the range.
    const std::optional<LengthOff> off = IsLengthOffUntouched() ? m_lengthOff : std::nullopt;
    m_lengthOff.reset();
    m_pica = true;
    ApplyPrecision();
    // The range given so far, by a form for instance, is in picas.
    m_minimum = minimum();
    m_maximum = maximum();
    ApplyCarrierRange();
    if (!off) {
        // A number set while pica mode was off is read as one set now, not with the digits of a
        // length held before.
        HoldCarrier(value(), DigitsOf(value()));
        return;
    }
    // The length nobody changed comes back as it was, though the plain box moved its carrier to fit
    // its range (1p6, carried as 1.6, is 1.5 under a maximum of 1p6). Only a range narrowed since
    // changes it, which the handlers hear now.
    if (!IsWithinBounds(LengthCarriedBy(off->carrier, off->parts))) {
        HoldCarrier(off->carrier, off->parts);
        return;
    }
    WithoutPicaReports([&] { HoldCarrier(off->carrier, off->parts); });
    if (off->moved)
        emit valueChanged(value());
}

void DoubleSpinEditQt::TurnPicaOff()
{
    m_lengthOff = LengthOff{value(), m_parts, value()};
    m_pica = false;
    KeepingLengthOff([this] {
        ApplyPrecision();
        setRange(m_minimum, m_maximum);
    });
}

void DoubleSpinEditQt::HoldLengthOffWithin(double minimum, double maximum)
{
    if (!IsLengthOffUntouched())
        return;
    // As in pica mode, a range that moves the length moves it for good: widened again, it does not
    // bring the length back.
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    const PicaPoint length = LengthCarriedBy(m_lengthOff->carrier, m_lengthOff->parts);
    if (IsWithinBounds(length))
        return;
    const QStringList entries = BoundedEntries(length);
    if (entries.isEmpty())
        return;
    m_lengthOff->carrier = CarrierOf(entries);
    m_lengthOff->parts = PartsOf(entries);
    m_lengthOff->moved = true;
}

bool DoubleSpinEditQt::IsLengthOffUntouched() const
{
    return m_lengthOff && value() == m_lengthOff->number;
}

void DoubleSpinEditQt::KeepingLengthOff(const std::function<void()>& fit)
{
    const bool untouched = IsLengthOffUntouched();
    fit();
    // A handler of the number moved may have set one of its own, which forgot the length.
    if (untouched && m_lengthOff)
        m_lengthOff->number = value();
}

void DoubleSpinEditQt::WithoutPicaReports(const std::function<void()>& change)
{
    HandlerList<PicaPoint>* reported = m_owner ? &m_owner->OnPicaValueChanged : nullptr;
    const bool wasSuppressed = reported && reported->SetSuppressed(true);
    change();
    if (reported)
        reported->SetSuppressed(wasSuppressed);
}

QStringList DoubleSpinEditQt::ParsePica(const QString& text) const
{
    return PicaParse(text, DecimalChar(), SystemDecimalPoint());
}

PicaPoint DoubleSpinEditQt::PicaValue() const
{
    return LengthCarriedBy(value(), m_parts);
}

PicaPoint DoubleSpinEditQt::LengthCarriedBy(double carrier, const TextParts& parts) const
{
    // Read as the text is written: the carrier 1.1 is 1p10 with two point digits.
    const QStringList entries = ParsePica(PicaTextOf(carrier, parts));
    if (!entries.isEmpty())
        return PicaPointFromEntries(entries);
    return PicaPointFromValue(carrier);
}

QStringList DoubleSpinEditQt::BoundedEntries(PicaPoint length) const
{
    return ParsePica(PicaText(WithinBounds(length), m_precision, QLatin1Char(GetDecimalChar())));
}

double DoubleSpinEditQt::CarrierOf(const QStringList& entries)
{
    return (entries.at(1) + QLatin1Char('.') + entries.at(2)).toDouble();
}

void DoubleSpinEditQt::SetPicaValue(PicaPoint value)
{
    const QStringList entries = BoundedEntries(value);
    if (entries.isEmpty()) {
        m_parts = {};
        return;
    }
    const double held = this->value();
    const QString heldText = PicaTextOf(held, m_parts);
    m_parts = PartsOf(entries);
    setValue(CarrierOf(entries));
    // 1p1 and 1p10, or 3p6.25 and 3p6.5, share a carrier: the box sees no change where the length has one.
    if (this->value() == held && PicaTextOf(held, m_parts) != heldText)
        emit valueChanged(held);
}

DoubleSpinEditQt::TextParts DoubleSpinEditQt::PartsOf(const QStringList& entries)
{
    return {entries.at(3), static_cast<int>(entries.at(2).size()), entries.at(1).startsWith(QLatin1Char('-'))};
}

void DoubleSpinEditQt::OnPicaTextChanged(const QString& text)
{
    // Outside pica mode the box reads the text and reports the number itself, also when a handler of that
    // report turned pica mode on: the change has been reported.
    const bool typedInPica = m_textChangeModes.back();
    m_textChangeModes.pop_back();
    if (!typedInPica || !m_pica)
        return;
    QString typed = text;
    if (!suffix().isEmpty() && typed.endsWith(suffix()))
        typed.remove(suffix());
    // The control reads the length from the text itself; the value takes it only when the field is
    // left or stepped from, so the text being typed leaves how the value reads back.
    emit valueChanged(typed.toDouble());
}

double DoubleSpinEditQt::ShownPoints(double picas) const
{
    return std::round(picas * kPointsPerPica * std::pow(10.0, std::clamp(m_precision, 0, kFinestDecimals)));
}

bool DoubleSpinEditQt::IsWithinBounds(PicaPoint length) const
{
    const double shown = ShownPoints(PicaToValue(length));
    return shown >= ShownPoints(m_minimum) && shown <= ShownPoints(m_maximum);
}

PicaPoint DoubleSpinEditQt::WithinBounds(PicaPoint length) const
{
    // A length beyond a bound is written as the bound, 1p6.00 for 1p7 under 1p6.
    const double shown = ShownPoints(PicaToValue(length));
    if (shown > ShownPoints(m_maximum))
        return PicaPointFromValue(m_maximum);
    if (shown < ShownPoints(m_minimum))
        return PicaPointFromValue(m_minimum);
    return length;
}

double DoubleSpinEditQt::Position() const
{
    // A length being typed is the one an arrow steps from, as in the plain box, which takes it at once.
    return m_pica ? ShownPoints(PicaToValue(TypedLength().value_or(PicaValue()))) : value();
}

bool DoubleSpinEditQt::AtMinimum() const
{
    return m_pica ? Position() <= ShownPoints(m_minimum) : value() == minimum();
}

bool DoubleSpinEditQt::AtMaximum() const
{
    return m_pica ? Position() >= ShownPoints(m_maximum) : value() == maximum();
}

QValidator::State DoubleSpinEditQt::validate(QString& input, int& pos) const
{
    const QString suffix = this->suffix();
    if (!suffix.isEmpty() && input.endsWith(suffix))
        input.remove(suffix);
    // Typing in pica mode is the pica field's to check; the value follows the text on leaving it.
    if (m_pica)
        return QValidator::Invalid;
    const QChar point = SystemDecimalPoint();
    if (m_decimalChar)
        input.replace(DecimalChar(), point);
    if (!m_correction)
        SnapBeyondBounds(input);
    const QValidator::State state = QDoubleSpinBox::validate(input, pos);
    if (!suffix.isEmpty() && !input.endsWith(suffix))
        input += suffix;
    if (m_decimalChar)
        input.replace(point, DecimalChar());
    return state;
}

void DoubleSpinEditQt::SnapBeyondBounds(QString& input) const
{
    QLocale locale = m_decimalChar ? QLocale::system() : this->locale();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    bool ok = false;
    const double number = locale.toDouble(input, &ok);
    // A number too long for a double reads as an infinity, beyond the bound on its side.
    if (!ok && !std::isinf(number))
        return;
    if (number > maximum() && number > 0)
        input = EditableText(maximum());
    else if (number < minimum() && number < 0)
        input = EditableText(minimum());
}

QString DoubleSpinEditQt::EditableText(double value) const
{
    QString text = textFromValue(value);
    if (m_decimalChar)
        text.replace(DecimalChar(), SystemDecimalPoint());
    return text;
}

void DoubleSpinEditQt::stepBy(int steps)
{
    // As the integer spin edit does, a length being typed is taken before it is stepped from, and
    // before a new single step rewrites the field from the value taken last.
    if (m_pica)
        ReadPicaFromText();
    if (singleStep() != m_step)
        setSingleStep(m_step);
    if (m_pica) {
        SetPicaValue(PicaPointFromValue(PicaToValue(PicaValue()) + steps * singleStep()));
    } else {
        QDoubleSpinBox::stepBy(steps);
    }
    emit arrowValueChanged(value(), steps * singleStep());
}

QAbstractSpinBox::StepEnabled DoubleSpinEditQt::stepEnabled() const
{
    if (!m_pica || isReadOnly() || wrapping())
        return QDoubleSpinBox::stepEnabled();
    StepEnabled enabled = StepNone;
    if (!AtMaximum())
        enabled |= StepUpEnabled;
    if (!AtMinimum())
        enabled |= StepDownEnabled;
    return enabled;
}

double DoubleSpinEditQt::valueFromText(const QString& text) const
{
    if (!m_decimalChar && !m_pica)
        return QDoubleSpinBox::valueFromText(text);
    QString number = text;
    if (m_decimalChar)
        number.replace(DecimalChar(), SystemDecimalPoint());
    return QLocale::system().toDouble(number);
}

QString DoubleSpinEditQt::textFromValue(double value) const
{
    if (m_pica)
        return PicaTextOf(value, m_parts);
    if (m_decimalChar)
        return SystemNumber(value, 'f', decimals()).replace(SystemDecimalPoint(), DecimalChar());
    return QDoubleSpinBox::textFromValue(value);
}

QString DoubleSpinEditQt::PicaTextOf(double carrier, const TextParts& parts) const
{
    QString text = SystemNumber(carrier, 'f', std::max(parts.pointDigits, 1));
    const int point = text.indexOf(SystemDecimalPoint());
    if (point >= 0)
        text[point] = DecimalChar();
    // The spin box keeps no sign on a zero carrier: -0p0.5 is carried as 0.
    if (carrier == 0 && parts.negative)
        text.prepend(QLatin1Char('-'));
    return text + parts.fraction;
}

void DoubleSpinEditQt::mousePressEvent(QMouseEvent* event)
{
    QDoubleSpinBox::mousePressEvent(event);
    // A press that cannot step reports a zero change, once the value has stayed since the last one.
    if (m_pressPosition == Position()) {
        QStyleOptionSpinBox option;
        initStyleOption(&option);
        const QStyle::SubControl arrow = SpinBoxArrowAt(this, option, event->localPos().toPoint());
        if ((arrow == QStyle::SC_SpinBoxUp && AtMaximum()) || (arrow == QStyle::SC_SpinBoxDown && AtMinimum()))
            ReportArrowAtBound();
    }
    m_pressPosition = Position();
}

void DoubleSpinEditQt::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_pica && TypedLength())
        FinishPicaTyping(event);
    else
        QDoubleSpinBox::keyPressEvent(event);
    if (m_pressPosition == Position() && ((key == Qt::Key_Down && AtMinimum()) || (key == Qt::Key_Up && AtMaximum())))
        ReportArrowAtBound();
    m_pressPosition = Position();
    if (key != Qt::Key_Backspace || suffix().isEmpty())
        return;
    // The cursor stays in front of the suffix.
    const int suffixStart = lineEdit()->text().lastIndexOf(suffix());
    if (suffixStart >= 0 && lineEdit()->cursorPosition() > suffixStart)
        lineEdit()->setCursorPosition(suffixStart);
}

void DoubleSpinEditQt::FinishPicaTyping(QKeyEvent* event)
{
    // Return finishes typing as leaving the field does, and before a dialog's default button, which
    // the key goes on to press, reads the length.
    ReadPicaFromText();
    // The box reads the field again and, while it tracks the keyboard, reports even a value it already
    // holds: the length just taken, which its typing reported.
    const bool tracking = keyboardTracking();
    setKeyboardTracking(false);
    QDoubleSpinBox::keyPressEvent(event);
    setKeyboardTracking(tracking);
}

void DoubleSpinEditQt::ReportArrowAtBound()
{
    // The report names the length at the bound, which may be the one being typed.
    if (m_pica)
        ReadPicaFromText();
    emit arrowValueChanged(value(), 0);
}

void DoubleSpinEditQt::focusOutEvent(QFocusEvent* event)
{
    // A pica text is no plain number; the length read from it below is held within the bounds.
    if (!m_correction && !m_pica) {
        const double typed = valueFromText(lineEdit()->text());
        if (typed == minimum())
            setValue(minimum());
        else if (typed == maximum())
            setValue(maximum());
    }
    if (m_pica)
        ReadPicaFromText();
    QDoubleSpinBox::focusOutEvent(event);
}

std::optional<PicaPoint> DoubleSpinEditQt::TypedLength() const
{
    const QStringList entries = ParsePica(lineEdit()->text());
    if (entries.isEmpty())
        return std::nullopt;
    return PicaPointFromEntries(entries);
}

void DoubleSpinEditQt::ReadPicaFromText()
{
    const std::optional<PicaPoint> typed = TypedLength();
    if (!typed)
        return;
    // The text is only rewritten in its full form: the length the user typed has been reported.
    WithoutPicaReports([&] { SetPicaValue(*typed); });
    // Unless the bounds or the decimals shown made another length of it, which the handlers have not heard.
    const PicaPoint taken = PicaValue();
    if (taken.picas != typed->picas || taken.points != typed->points)
        emit valueChanged(value());
}

} // namespace AUILib
