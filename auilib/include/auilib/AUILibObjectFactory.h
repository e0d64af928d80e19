#pragma once

#include <memory>
#include <string>
#include <unordered_map>

namespace AUILib {

class BaseGUIObject;

class ICreator
{
public:
    virtual ~ICreator() = default;
    // A new, complete control owned by the returned pointer alone.
    virtual std::shared_ptr<BaseGUIObject> Create() = 0;
};

template <typename T>
class Creator : public ICreator
{
public:
    std::shared_ptr<BaseGUIObject> Create() override { return std::make_shared<T>(); }
};

// Makes controls by the class names that form files use.
class AUILibObjectFactory
{
public:
    static AUILibObjectFactory& Instance();

    // The first registration of a name stays.
    void Register(std::string className, std::shared_ptr<ICreator> creator);
    // Empty for a name that is not registered (compared byte for byte, case-sensitively).
    std::shared_ptr<BaseGUIObject> Create(std::string className);
    std::size_t Count() const { return m_creators.size(); }

private:
    AUILibObjectFactory();

    std::unordered_map<std::string, std::shared_ptr<ICreator>> m_creators;
};

} // namespace AUILib
