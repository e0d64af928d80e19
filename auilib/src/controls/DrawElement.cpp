#include "DrawElement.h"

#include "AUILibConfig.h"
#include "DrawElementImpl.h"

#include <QPainter>

namespace AUILib {

DrawElement::impl::impl(DrawElement& owner)
    : m_widget(new DrawElementQt(owner))
{
}

DrawElement::impl::~impl()
{
    if (m_widget)
        m_widget->ReleaseOwner();
    ReleaseWidget(m_widget);
}

DrawElement::DrawElement()
    : m_impl(std::make_shared<impl>(*this))
{
    SetControlType(ControlType::DrawElement);
}

DrawElement::~DrawElement()
{
    m_impl.reset();
}

bool DrawElement::Create(QWidget* parent)
{
    return m_impl->Create(parent);
}

std::shared_ptr<BaseImpl> DrawElement::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* DrawElement::GetSkinManager()
{
    return GetGlobalSkinManager();
}

void DrawElement::DrawImage(const QImage* image, int x, int y)
{
    DrawElementQt* widget = m_impl->Widget();
    if (!image || !widget)
        return;
    widget->SetPicture(*image, x, y);
    widget->update();
}

QImage* DrawElement::GetImage()
{
    const DrawElementQt* widget = m_impl->Widget();
    if (!widget || !widget->IsDrawn())
        return nullptr;
    auto* image = new QImage(widget->size(), QImage::Format_ARGB32);
    image->fill(Qt::white);
    QPainter painter(image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const DrawElementQt::Stroke* stroke : widget->Strokes()) {
        painter.setPen(DrawElementQt::StrokePen(stroke->color));
        painter.drawPath(stroke->path);
    }
    return image;
}

void DrawElement::ResetImage()
{
    if (DrawElementQt* widget = m_impl->Widget()) {
        widget->Reset();
        widget->update();
    }
}

void DrawElement::SetBorder(bool border)
{
    if (DrawElementQt* widget = m_impl->Widget()) {
        widget->SetBorder(border);
        widget->update();
    }
}

bool DrawElement::IsSetBorder()
{
    const DrawElementQt* widget = m_impl->Widget();
    return widget && widget->HasBorder();
}

void DrawElement::SetLineColor(RGBColor color)
{
    if (DrawElementQt* widget = m_impl->Widget())
        widget->SetLineColor(QColor(static_cast<QRgb>(color)));
}

RGBColor DrawElement::GetLineColor()
{
    const DrawElementQt* widget = m_impl->Widget();
    return widget ? widget->LineColor().rgb() : QColor(Qt::black).rgb();
}

void DrawElement::UpdateLinesColor(RGBColor color)
{
    if (DrawElementQt* widget = m_impl->Widget()) {
        widget->RecolourStrokes(QColor(static_cast<QRgb>(color)));
        widget->update();
    }
}

} // namespace AUILib
