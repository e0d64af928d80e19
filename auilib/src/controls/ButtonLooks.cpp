#include "ButtonBoxQt.h"
#include "ButtonBoxSizing.h"
#include "ButtonImpl.h"
#include "ButtonSheets.h"
#include "StyleSheetRules.h"

#include <QLabel>

namespace AUILib {

namespace {

QString ArgbName(RGBColor colour)
{
    return QColor::fromRgba(colour).name(QColor::HexArgb);
}

QString Pixels(int value)
{
    return QString::number(value) + QStringLiteral("px");
}

const QString kButton = QStringLiteral("QPushButton");
const QString kBackground = QStringLiteral("background-color");
const QString kBorder = QStringLiteral("border-color");

} // namespace

bool Button::impl::InButtonBox() const
{
    return qobject_cast<QDialogButtonBox*>(m_widget->parentWidget()) != nullptr;
}

void Button::impl::ApplyStyleSheet(const QString& sheet)
{
    if (!m_widget)
        return;
    if (auto* box = qobject_cast<QDialogButtonBox*>(m_widget->parentWidget())) {
        // Inside a box the box styles its buttons; a box that is not the library's styles none.
        if (auto* libraryBox = qobject_cast<ButtonBoxQt*>(box)) {
            RegisterButtonSheet(libraryBox, m_widget->text(), sheet);
            m_currentSheet = sheet;
        }
        return;
    }
    m_widget->setFlat(true);
    QString converted = sheet;
    converted.replace(QStringLiteral("\\u3A"), QStringLiteral(":"));
    m_widget->setStyleSheet(converted);
    m_currentSheet = sheet;
    if (m_widget->minimumHeight() == 0)
        m_widget->setMinimumHeight(18);
}

void Button::impl::EnsureDefaultSheet()
{
    if (!m_widget || !m_widget->styleSheet().isEmpty() || !m_currentSheet.isEmpty())
        return;
    const bool tall = m_widget->height() >= 31 && !InButtonBox();
    ApplyStyleSheet(QString::fromUtf8(tall ? ButtonSheets::F : ButtonSheets::G));
}

void Button::impl::ApplyEdit(const QString& selector, const QString& property, const QString& value)
{
    ApplyStyleSheet(StyleSheetRules(m_currentSheet, selector, property, value));
}

void Button::impl::SetStyle(ButtonStyle style)
{
    // In these styles the text lives on the label and the push button holds none.
    const bool textOnLabel = ShowsPictureAboveText(m_style);
    m_style = style;
    if (!m_widget)
        return;
    switch (style) {
    case PictureAboveText:
    case RoundedPictureAboveText:
        if (!m_layout)
            BuildLayout();
        m_pictureLabel->setPixmap(m_picture);
        if (!textOnLabel)
            m_textLabel->setText(m_widget->text());
        SetButtonText(QString());
        m_widget->setIcon(QIcon());
        break;
    case PictureOnly:
        m_widget->setText(QString());
        break;
    case Expander:
        m_widget->setText(QStringLiteral("+ ") + m_widget->text());
        ApplyStyleSheet(QString::fromUtf8(ButtonSheets::B));
        break;
    case Plain:
        ApplyStyleSheet(QString::fromUtf8(ButtonSheets::D));
        break;
    case Link:
        ApplyStyleSheet(QString::fromUtf8(ButtonSheets::E));
        break;
    default:
        break;
    }
    if (style == Transparent || style == PictureAboveText || style == PictureOnly)
        ApplyStyleSheet(QString::fromUtf8(ButtonSheets::A));
    if (style == Rounded || style == RoundedText || style == RoundedPictureAboveText) {
        const int radius = m_cornerRadius >= 1 ? m_cornerRadius : InButtonBox() ? 9 : m_widget->height() / 2;
        ApplyStyleSheet(StyleSheetRules(QString::fromUtf8(ButtonSheets::C), kButton,
                                        QStringLiteral("border-radius"), Pixels(radius)));
    }
}

void Button::impl::EditLabelSheet(const QString& selector, const QString& colour)
{
    if (m_textLabel)
        m_textLabel->setStyleSheet(
            StyleSheetRules(m_textLabel->styleSheet(), selector, QStringLiteral("color"), colour));
}

void Button::impl::SetTextColor(int colour)
{
    EnsureDefaultSheet();
    const QColor colourValue(static_cast<QRgb>(colour));
    if (m_layout)
        EditLabelSheet(QStringLiteral("QLabel"), colourValue.name());
    else
        ApplyEdit(kButton, QStringLiteral("color"), colourValue.name());
    m_textColor = colourValue;
    RepaintWidget();
}

void Button::impl::SetTextColor(RGBColor normal, RGBColor disabled)
{
    EnsureDefaultSheet();
    if (m_layout) {
        EditLabelSheet(QStringLiteral("QLabel"), ArgbName(normal));
        EditLabelSheet(QStringLiteral("QLabel:disabled"), ArgbName(disabled));
    } else {
        ApplyEdit(kButton, QStringLiteral("color"), ArgbName(normal));
        ApplyEdit(QStringLiteral("QPushButton:disabled"), QStringLiteral("color"), ArgbName(disabled));
    }
    m_textColor = QColor(static_cast<QRgb>(normal));
    m_disabledTextColor = QColor(static_cast<QRgb>(disabled));
    RepaintWidget();
}

void Button::impl::SetBackgroundColor(unsigned int colour, bool allStates)
{
    EnsureDefaultSheet();
    if (allStates) {
        const RGBColor opaque = colour | 0xFF000000u;
        SetBackgroundColor(opaque, opaque, opaque, opaque, opaque);
        SetBorderColor(opaque, opaque, opaque);
        ApplyEdit(QStringLiteral("QPushButton:pressed"), kBackground, ArgbName(opaque));
    } else {
        const QString name = QColor::fromRgba(colour).name();
        ApplyEdit(kButton, kBackground, name);
        ApplyEdit(QStringLiteral("QPushButton:hover"), kBackground, name);
    }
    RepaintWidget();
}

void Button::impl::SetBackgroundColor(RGBColor normal, RGBColor hover, RGBColor disabled, RGBColor focus,
                                      RGBColor pressed)
{
    EnsureDefaultSheet();
    if (focus == 0xFFFFFFFFu)
        focus = hover;
    if (pressed == 0xFFFFFFFFu)
        pressed = normal;
    ApplyEdit(kButton, kBackground, ArgbName(normal));
    ApplyEdit(QStringLiteral("QPushButton:hover"), kBackground, ArgbName(hover));
    ApplyEdit(QStringLiteral("QPushButton:focus"), kBackground, ArgbName(focus));
    ApplyEdit(QStringLiteral("QPushButton:pressed"), kBackground, ArgbName(pressed));
    ApplyEdit(QStringLiteral("QPushButton:disabled"), kBackground, ArgbName(disabled));
    RepaintWidget();
}

void Button::impl::SetBorderColor(RGBColor normal, RGBColor hover, RGBColor disabled)
{
    EnsureDefaultSheet();
    ApplyEdit(kButton, kBorder, ArgbName(normal));
    ApplyEdit(QStringLiteral("QPushButton:hover"), kBorder, ArgbName(hover));
    ApplyEdit(QStringLiteral("QPushButton:focus"), kBorder, ArgbName(hover));
    ApplyEdit(QStringLiteral("QPushButton:disabled"), kBorder, ArgbName(disabled));
    RepaintWidget();
}

void Button::impl::SetRoundedButtonCornerRadius(int radius)
{
    m_cornerRadius = radius;
    if (!m_widget)
        return;
    ApplyEdit(kButton, QStringLiteral("border-radius"), Pixels(radius >= 1 ? radius : m_widget->height() / 2));
}

void Button::impl::DisableFocusRect(bool disable)
{
    m_focusRectDisabled = disable;
    ApplyEdit(QStringLiteral("QPushButton:focus"), QStringLiteral("border-width"),
              disable ? QStringLiteral("0px") : QStringLiteral("1px"));
    RepaintWidget();
}

} // namespace AUILib
