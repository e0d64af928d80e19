#pragma once

#include <cstdint>
#include <memory>

namespace AUILib {

class AUIObject;

// Private side of every public library object.
class AUIObjectImpl
{
public:
    explicit AUIObjectImpl(AUIObject* owner);
    virtual ~AUIObjectImpl();

    AUIObject* owner;
    std::uint64_t value = 0;
};

// Root of every public library object.
class AUIObject
{
public:
    AUIObject();
    virtual ~AUIObject();
    AUIObject(const AUIObject&) = delete;
    AUIObject& operator=(const AUIObject&) = delete;

private:
    std::unique_ptr<AUIObjectImpl> m_objectImpl;
};

} // namespace AUILib
