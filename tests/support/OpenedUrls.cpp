#include "OpenedUrls.h"

#include <QDesktopServices>

namespace {
const char* const kWebSchemes[] = {"http", "https"};
}

OpenedUrls::OpenedUrls()
{
    for (const char* scheme : kWebSchemes)
        QDesktopServices::setUrlHandler(scheme, this, "open");
}

OpenedUrls::~OpenedUrls()
{
    for (const char* scheme : kWebSchemes)
        QDesktopServices::unsetUrlHandler(scheme);
}

void OpenedUrls::open(const QUrl& url)
{
    m_urls.append(url);
}
