#include "CReaderModuleManager.h"

CReaderModuleManager::CReaderModuleManager(QString type, QObject* parent)
    : QObject(parent)
    , m_strType(std::move(type))
{
}
