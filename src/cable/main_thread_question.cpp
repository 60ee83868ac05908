#include "cable/main_thread_question.h"

#include "base/main_thread.h"

#include <optional>

namespace tagsmith::cable {

MainThreadQuestion::MainThreadQuestion() : m_state(std::make_shared<State>()) {}

bool MainThreadQuestion::ask(std::function<bool()> question) {
    if (base::isMainThread()) {
        if (const std::lock_guard guard(m_state->lock); m_state->cancelled)
            return false;
        return question();
    }
    auto answer = std::make_shared<std::optional<bool>>();
    base::onMain([state = m_state, answer, question = std::move(question)] {
        if (std::lock_guard guard(state->lock); state->cancelled)
            return;
        const bool accepted = question();
        {
            const std::lock_guard guard(state->lock);
            *answer = accepted;
        }
        state->answered.notify_all();
    });
    std::unique_lock lock(m_state->lock);
    m_state->answered.wait(lock, [&] { return answer->has_value() || m_state->cancelled; });
    return answer->value_or(false);
}

void MainThreadQuestion::cancel() {
    {
        const std::lock_guard guard(m_state->lock);
        m_state->cancelled = true;
    }
    m_state->answered.notify_all();
}

} // namespace tagsmith::cable
