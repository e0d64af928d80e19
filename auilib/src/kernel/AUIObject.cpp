#include "AUIObject.h"

namespace AUILib {

AUIObjectImpl::AUIObjectImpl(AUIObject* owner)
    : owner(owner)
{
}

AUIObjectImpl::~AUIObjectImpl() = default;

AUIObject::AUIObject()
    : m_objectImpl(std::make_unique<AUIObjectImpl>(this))
{
}

AUIObject::~AUIObject() = default;

} // namespace AUILib
