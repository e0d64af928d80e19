#include "DateEdit.h"

#include "AUILibConfig.h"
#include "DateEditImpl.h"
#include "DateEditQt.h"
#include "WideText.h"
#include "WidgetReplacedEvent.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLayout>
#include <QLocale>

namespace AUILib {

namespace {

const char* const kTimeFormat = "H:mm";

QString ShortDateFormat()
{
    return QLocale::system().dateFormat(QLocale::ShortFormat);
}

ZrDateTime ToZrDateTime(const QDateTime& value)
{
    const QDate date = value.date();
    const QTime time = value.time();
    return {static_cast<std::uint16_t>(date.year()),   static_cast<std::uint16_t>(date.month()),
            static_cast<std::uint16_t>(date.day()),    static_cast<std::uint16_t>(time.hour()),
            static_cast<std::uint16_t>(time.minute()), static_cast<std::uint16_t>(time.second())};
}

// What the program or its form set on a widget, for the widget that takes its place.
void TakeOverWidgetState(const QWidget& from, QWidget& to)
{
    // Its own disabling only: one that comes from a window around it ends with that window's.
    to.setEnabled(!from.testAttribute(Qt::WA_ForceDisabled));
    to.setAcceptDrops(from.acceptDrops());
    to.setToolTip(from.toolTip());
    to.setAccessibleName(from.accessibleName());
    // A font or palette never set stays inherited from the window.
    if (from.testAttribute(Qt::WA_SetFont))
        to.setFont(from.font());
    if (from.testAttribute(Qt::WA_SetPalette))
        to.setPalette(from.palette());
    to.setMinimumSize(from.minimumSize());
    to.setMaximumSize(from.maximumSize());
    to.setSizePolicy(from.sizePolicy());
    to.setFocusPolicy(from.focusPolicy());
    to.setMouseTracking(from.hasMouseTracking());
    to.setAttribute(Qt::WA_Hover, from.testAttribute(Qt::WA_Hover));
}

bool IsHiddenOnPurpose(const QWidget& widget)
{
    return widget.isHidden() && widget.testAttribute(Qt::WA_WState_ExplicitShowHide);
}

// Hides and deletes a replaced widget once the focus it held has moved to focusTaker, if any.
void RetireAfterFocusMoves(QWidget* old, QWidget* focusTaker)
{
    // The focus leaves the old widget while it still stands. A view holding it as its editor closes it
    // on that focus-out, and flushes what was posted to it: a deletion already posted would free it
    // while Qt still delivers the focus-out to it. Hidden with the focus, it would hand the focus on
    // to the next widget in the chain, and a view would move its current cell for that.
    const QPointer<QWidget> retiring = old;
    if (focusTaker)
        focusTaker->setFocus();
    // The focus may have let the control go.
    if (!retiring)
        return;
    retiring->hide();
    retiring->deleteLater();
}

} // namespace

QDateTime ReadDateTime(const QString& text, const QString& format)
{
    QDateTime dateTime = QDateTime::fromString(text, format);
    const bool twoDigitYear = format.contains(QLatin1String("yy")) && !format.contains(QLatin1String("yyyy"));
    if (!twoDigitYear)
        return dateTime;
    const int firstYear = QDate::currentDate().year() - 50;
    if (!dateTime.isValid()) {
        // 29 February 00 does not exist in 1900: asked again with the one year of the hundred that ends
        // in 00 written in full, Qt takes it where the two-digit year agrees and refuses it elsewhere.
        const int centuryYear = (firstYear + 99) / 100 * 100;
        return QDateTime::fromString(text + QLatin1Char(' ') + QString::number(centuryYear),
                                     format + QLatin1String(" yyyy"));
    }
    while (dateTime.date().year() < firstYear)
        dateTime = dateTime.addYears(100);
    return dateTime;
}

DateEdit::impl::impl(DateEdit& owner)
    : m_owner(owner)
    , m_widget(new DateEditQt(owner))
    , m_timers(m_widget)
{
    m_widget->setDisplayFormat(ShortDateFormat());
    m_widget->setDate(QDate::currentDate());
    m_widget->setCalendarPopup(true);
    ConnectChanges();
}

DateEdit::impl::~impl()
{
    if (auto* first = qobject_cast<DateEditQt*>(m_widget.data()))
        first->ReleaseOwner();
    ReleaseWidget(m_widget);
}

void DateEdit::impl::ConnectChanges()
{
    m_changes = QObject::connect(m_widget, &QDateTimeEdit::dateTimeChanged, [this](const QDateTime& value) {
        FireHandlers(m_owner.OnDateTimeChanged, ToZrDateTime(value));
    });
    TrackConnection(m_changes);
}

int DateEdit::impl::SetTimer(unsigned, unsigned milliseconds)
{
    RequireWidget();
    return m_timers.Start(milliseconds);
}

void DateEdit::impl::KillTimer(unsigned id)
{
    RequireWidget();
    // An id of none of the control's timers is Qt's to judge, as on any control.
    if (!m_timers.Stop(static_cast<int>(id)))
        BaseImplQt::KillTimer(id);
}

QString DateEdit::impl::Format() const
{
    switch (m_mode) {
    case TimeOnly:
        return QLatin1String(kTimeFormat);
    case DateAndTime:
        return ShortDateFormat() + QLatin1Char(' ') + QLatin1String(kTimeFormat);
    default:
        return ShortDateFormat();
    }
}

void DateEdit::impl::ReplaceWidget(const QString& format)
{
    QDateTimeEdit* old = m_widget;
    QWidget* parent = old->parentWidget();
    // The old widget may be the sender of the notification that got us here: it goes later, and its
    // end is not the end of this control. What was tied to the widget alone for the control's sake
    // (its end reported as the control's) goes; whoever holds the widget for itself, a view holding
    // it as an editor, must still hear that it went.
    QObject::disconnect(m_changes);
    QObject::disconnect(old, &QObject::destroyed, old, nullptr);
    if (auto* first = qobject_cast<DateEditQt*>(old))
        first->ReleaseOwner();

    const QRect geometry = old->geometry();
    const QString sheet = old->styleSheet();
    const bool hidden = IsHiddenOnPurpose(*old);
    // In a window that is not active the focus the control holds is the one it gets back.
    const bool focused = old->window()->focusWidget() == old;
    auto* replacement = new QDateTimeEdit(QDateTime::currentDateTime(), parent);
    replacement->setObjectName(old->objectName());
    TakeOverWidgetState(*old, *replacement);
    // Right behind the old widget in the tab order, whose place it takes once the old one goes.
    if (parent)
        QWidget::setTabOrder(old, replacement);
    if (parent && parent->layout())
        delete parent->layout()->replaceWidget(old, replacement);

    m_widget = replacement;
    ConnectChanges();
    // Whoever prepared the old widget for the control prepares this one; before it takes the focus,
    // so that the focus is heard too.
    WidgetReplacedEvent announcement(replacement);
    QCoreApplication::sendEvent(old, &announcement);
    replacement->setDisplayFormat(format);
    replacement->setGeometry(geometry);
    replacement->setStyleSheet(sheet);
    replacement->setCalendarPopup(true);
    // A widget without a parent would become a window of its own.
    if (parent)
        replacement->setVisible(!hidden);
    RetireAfterFocusMoves(old, focused && !hidden ? replacement : nullptr);
}

void DateEdit::impl::SetMode(DateEditMode mode)
{
    const DateEditMode previous = m_mode;
    // Stored first: moving the focus to a replacement runs the program's handlers, which may ask for
    // the mode, change it again or let the control go.
    m_mode = mode;
    if (m_widget) {
        const QString dateFormat = ShortDateFormat();
        if (mode != TimeOnly && previous == TimeOnly) {
            ReplaceWidget(mode == DateAndTime ? dateFormat + QLatin1Char(' ') + QLatin1String(kTimeFormat)
                                              : dateFormat);
        } else if (mode == DateAndTime) {
            m_widget->setDisplayFormat(dateFormat + QLatin1Char(' ') + QLatin1String(kTimeFormat));
            m_widget->setDateTime(QDateTime::currentDateTime());
            m_widget->setCalendarPopup(true);
        } else if (mode == DateOnly) {
            m_widget->setDisplayFormat(dateFormat);
            m_widget->setDate(QDate::currentDate());
            m_widget->setCalendarPopup(true);
        } else if (mode == TimeOnly) {
            m_widget->setCalendarPopup(false);
            m_widget->setDisplayFormat(QLatin1String(kTimeFormat));
            m_widget->setTime(QTime::currentTime());
        }
    }
}

void DateEdit::impl::LoadPicture(const std::wstring& path)
{
    if (!m_widget)
        return;
    const QString absolute = QDir(QFileInfo(ToQString(path)).absoluteFilePath()).absolutePath();
    if (!QFile::exists(absolute)) {
        m_picturePath.clear();
        m_widget->setStyleSheet(QString());
        return;
    }
    m_picturePath = absolute;
    m_widget->setStyleSheet(
        QStringLiteral("QDateTimeEdit::drop-down{background-color: white;image: url(%1);image-position: left;}")
            .arg(absolute));
}

DateEdit::DateEdit()
    : m_impl(std::make_shared<impl>(*this))
{
    SetControlType(ControlType::DateEdit);
}

DateEdit::~DateEdit()
{
    m_impl.reset();
}

bool DateEdit::Create(QWidget* parent)
{
    SetParentWindow(parent);
    return m_impl->Create(parent);
}

Size DateEdit::IdealSize()
{
    return m_impl->IdealSize();
}

std::shared_ptr<BaseImpl> DateEdit::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* DateEdit::GetSkinManager()
{
    return GetGlobalSkinManager();
}

void DateEdit::LoadPicture(const std::wstring& path)
{
    m_impl->LoadPicture(path);
}

void DateEdit::SetMode(DateEditMode mode)
{
    m_impl->SetMode(mode);
}

DateEdit::DateEditMode DateEdit::GetMode()
{
    return m_impl->Mode();
}

bool DateEdit::SetDateTime(const ZrDateTime& value)
{
    const QDateTime dateTime(QDate(value.year, value.month, value.day),
                             QTime(value.hour, value.minute, value.second, 0), Qt::LocalTime);
    QDateTimeEdit* widget = m_impl->Widget();
    if (!dateTime.isValid() || !widget)
        return false;
    widget->setDateTime(dateTime);
    return true;
}

bool DateEdit::SetDateTime(const std::wstring& text)
{
    const QDateTime dateTime = ReadDateTime(ToQString(text), m_impl->Format());
    QDateTimeEdit* widget = m_impl->Widget();
    if (!dateTime.isValid() || !widget)
        return false;
    widget->setDateTime(dateTime);
    return true;
}

ZrDateTime DateEdit::GetDateTime() const
{
    const QDateTimeEdit* widget = m_impl->Widget();
    return widget ? ToZrDateTime(widget->dateTime()) : ZrDateTime();
}

std::wstring DateEdit::GetDateTimeString() const
{
    const QDateTimeEdit* widget = m_impl->Widget();
    if (!widget)
        return {};
    switch (m_impl->Mode()) {
    case TimeOnly:
        return ToWString(widget->time().toString(Qt::TextDate));
    case DateAndTime:
        return ToWString(widget->dateTime().toString(Qt::TextDate));
    default:
        return ToWString(widget->date().toString(Qt::TextDate));
    }
}

QWidget* DateEdit::GetWndPtr()
{
    return m_impl->GetWidget();
}

} // namespace AUILib
