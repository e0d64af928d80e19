#include "AUILibObjectFactory.h"

#include "BaseGUIObject.h"

namespace AUILib {

AUILibObjectFactory& AUILibObjectFactory::Instance()
{
    static AUILibObjectFactory factory;
    return factory;
}

AUILibObjectFactory::AUILibObjectFactory()
{
    m_creators.max_load_factor(1.0f);
}

void AUILibObjectFactory::Register(std::string className, std::shared_ptr<ICreator> creator)
{
    m_creators.emplace(std::move(className), std::move(creator));
}

std::shared_ptr<BaseGUIObject> AUILibObjectFactory::Create(std::string className)
{
    const auto found = m_creators.find(className);
    return found == m_creators.end() ? nullptr : found->second->Create();
}

} // namespace AUILib
