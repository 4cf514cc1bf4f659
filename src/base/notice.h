// Notices and services: how a lower layer tells the layers above it that
// something happened, and how it asks them for an answer.
//
// A notice ("the title changed", "this area of a unit is dirty") has any
// number of listeners. Each subscribes with `Subscribe` in its module's
// X_Init and hands the token back with `Unsubscribe` in X_Stop; a second
// listener never knocks out the first.
//
// A service ("choose a template", "save the document") wants exactly one
// answer, so it has at most one owner: `Install` refuses a second owner as an
// internal error, `Remove` takes the owner's token. Without an owner, `Call`
// gives the caller's fallback.
//
// Process-wide state: none of its own; the notices and services themselves
// are globals of the modules that declare them.
#pragma once
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

// Given by Subscribe and Install; 0 is never a valid token.
using a_listener_token = uint32_t;

namespace notice_detail {
inline a_listener_token Next_Token() {
    static a_listener_token next = 0;
    return ++next;
}
[[noreturn]] void Service_Taken();  // an internal error: two owners for one service
}  // namespace notice_detail

template <typename... Args>
class a_notice {
public:
    using a_listener = std::function<void(Args...)>;

    [[nodiscard]] a_listener_token Subscribe(a_listener fn) {
        a_listener_token t = notice_detail::Next_Token();
        listeners_.push_back({t, std::move(fn)});
        return t;
    }
    // Nothing for a token that is not subscribed; sets it to 0.
    void Unsubscribe(a_listener_token& token) {
        std::erase_if(listeners_, [&](const auto& l) { return l.first == token; });
        token = 0;
    }
    // Every listener, in the order they subscribed. A listener may
    // unsubscribe itself or another while the notice is being sent.
    void Emit(Args... args) const {
        auto copy = listeners_;
        for (const auto& l : copy) l.second(args...);
    }
    size_t Listener_Count() const { return listeners_.size(); }

private:
    std::vector<std::pair<a_listener_token, a_listener>> listeners_;
};

template <typename Signature>
class a_service;

template <typename R, typename... Args>
class a_service<R(Args...)> {
public:
    using a_handler = std::function<R(Args...)>;

    [[nodiscard]] a_listener_token Install(a_handler fn) {
        if (owner_ != 0) notice_detail::Service_Taken();
        owner_ = notice_detail::Next_Token();
        handler_ = std::move(fn);
        return owner_;
    }
    // Only the owner's token removes the handler; sets it to 0.
    void Remove(a_listener_token& token) {
        if (token != 0 && token == owner_) {
            owner_ = 0;
            handler_ = nullptr;
        }
        token = 0;
    }
    bool Installed() const { return owner_ != 0; }
    // The owner's answer, or `fallback` without an owner.
    template <typename F>
    R Call_Or(F&& fallback, Args... args) const {
        if (owner_ == 0) return std::forward<F>(fallback)();
        return handler_(args...);
    }

private:
    a_listener_token owner_ = 0;
    a_handler handler_;
};
