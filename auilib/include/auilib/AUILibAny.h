#pragma once

#include <memory>
#include <type_traits>
#include <typeinfo>

namespace AUILib {

// A value of any copyable type, kept by list-like controls as item data. Copies are deep: each
// copy owns its own holder.
class any
{
public:
    class placeholder
    {
    public:
        virtual ~placeholder() = default;
        virtual const std::type_info& type() const = 0;
        virtual placeholder* clone() const = 0;
    };

    template <typename T>
    class holder : public placeholder
    {
    public:
        explicit holder(const T& value)
            : held(value)
        {
        }
        const std::type_info& type() const override { return typeid(T); }
        placeholder* clone() const override { return new holder(held); }

        T held;
    };

    any() = default;

    template <typename T, typename = std::enable_if_t<!std::is_same_v<std::decay_t<T>, any>>>
    any(const T& value)
        : m_content(new holder<std::decay_t<T>>(value))
    {
    }

    any(const any& other)
        : m_content(other.m_content ? other.m_content->clone() : nullptr)
    {
    }

    any(any&& other) noexcept = default;

    any& operator=(any other) noexcept
    {
        m_content.swap(other.m_content);
        return *this;
    }

    ~any() = default;

    bool empty() const { return !m_content; }
    // typeid(void) for an empty value.
    const std::type_info& type() const { return m_content ? m_content->type() : typeid(void); }

    template <typename T>
    friend T* any_cast(any* value) noexcept;

private:
    std::unique_ptr<placeholder> m_content;
};

// The held value when `value` holds exactly a T, else null.
template <typename T>
T* any_cast(any* value) noexcept
{
    if (!value || value->type() != typeid(T))
        return nullptr;
    return &static_cast<any::holder<T>*>(value->m_content.get())->held;
}

template <typename T>
const T* any_cast(const any* value) noexcept
{
    return any_cast<T>(const_cast<any*>(value));
}

} // namespace AUILib
