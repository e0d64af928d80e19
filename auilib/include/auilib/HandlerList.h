#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <tuple>
#include <vector>

class QWidget;

namespace AUILib {

class BaseGUIObject;

namespace HandlerListDetail {
// The bound control's widget, or null when the control has no implementation or its widget is gone.
QWidget* LiveWidgetOf(BaseGUIObject* control);
void Post(QWidget* widget, std::function<void()> function);
} // namespace HandlerListDetail

enum class HandlerKind : std::int32_t {
    Immediate = 0, // called during the firing
    Bound = 1,     // posted to the bound control's widget and run by its event bridge
};

template <typename... Args>
struct HandlerRecord
{
    HandlerKind kind = HandlerKind::Immediate;
    std::function<void(Args...)> handler;
    BaseGUIObject* control = nullptr;
};

// One notification of a control: the handlers its users added, fired in the order they were added.
template <typename... Args>
class HandlerList
{
public:
    using Handler = std::function<void(Args...)>;
    using Token = std::uint64_t;

    HandlerList() = default;
    HandlerList(const HandlerList&) = delete;
    HandlerList& operator=(const HandlerList&) = delete;
    // A handler may let the control go, and this list with it, while the list fires.
    ~HandlerList()
    {
        std::lock_guard<std::recursive_mutex> lock(m_firing->mutex);
        m_firing->listGone = true;
    }

    Token Add(Handler handler) { return Insert({HandlerKind::Immediate, std::move(handler), nullptr}); }
    Token AddBound(BaseGUIObject* control, Handler handler)
    {
        return Insert({HandlerKind::Bound, std::move(handler), control});
    }

    // Returns whether a record with that token was there.
    bool Remove(Token token)
    {
        std::lock_guard<std::recursive_mutex> lock(m_firing->mutex);
        for (auto it = m_records.begin(); it != m_records.end(); ++it) {
            if (it->first == token) {
                m_records.erase(it);
                return true;
            }
        }
        return false;
    }

    // A control's implementation silences the list around a programmatic bulk change.
    // Returns the previous value so that the caller can restore it.
    bool SetSuppressed(bool suppressed)
    {
        const bool previous = m_suppressed;
        m_suppressed = suppressed;
        return previous;
    }
    bool IsSuppressed() const { return m_suppressed; }

    // Never throws: a handler that throws ends the firing where it is.
    void Fire(Args... args) noexcept
    {
        if (m_suppressed)
            return;
        try {
            // The lock is recursive and the walk goes over a snapshot, so an immediate handler may
            // add to, remove from or fire its own list without waiting on itself. The firing state
            // is held apart from the list, which a handler may destroy: the walk then stops.
            const std::shared_ptr<Firing> firing = m_firing;
            std::lock_guard<std::recursive_mutex> lock(firing->mutex);
            const std::vector<std::shared_ptr<const Record>> snapshot = Snapshot();
            for (const std::shared_ptr<const Record>& record : snapshot) {
                if (firing->listGone)
                    break;
                Run(*record, args...);
            }
        } catch (...) {
        }
    }

private:
    using Record = HandlerRecord<Args...>;

    Token Insert(Record record)
    {
        std::lock_guard<std::recursive_mutex> lock(m_firing->mutex);
        const Token token = m_nextToken++;
        m_records.emplace_back(token, std::make_shared<const Record>(std::move(record)));
        return token;
    }

    std::vector<std::shared_ptr<const Record>> Snapshot() const
    {
        std::vector<std::shared_ptr<const Record>> snapshot;
        snapshot.reserve(m_records.size());
        for (const auto& entry : m_records)
            snapshot.push_back(entry.second);
        return snapshot;
    }

    static void Run(const Record& record, const Args&... args)
    {
        switch (record.kind) {
        case HandlerKind::Immediate:
            record.handler(args...);
            break;
        case HandlerKind::Bound:
            if (QWidget* widget = HandlerListDetail::LiveWidgetOf(record.control)) {
                HandlerListDetail::Post(widget, [handler = record.handler, copies = std::make_tuple(args...)]() mutable {
                    std::apply(handler, copies);
                });
            }
            break;
        }
    }

    struct Firing
    {
        std::recursive_mutex mutex;
        bool listGone = false;
    };

    std::list<std::pair<Token, std::shared_ptr<const Record>>> m_records;
    const std::shared_ptr<Firing> m_firing = std::make_shared<Firing>();
    bool m_suppressed = false;
    Token m_nextToken = 1;
};

// The arguments convert to the list's signature; bound records keep copies of them.
template <typename... Args, typename... Given>
void FireHandlers(HandlerList<Args...>& list, Given&&... args)
{
    list.Fire(std::forward<Given>(args)...);
}

} // namespace AUILib
