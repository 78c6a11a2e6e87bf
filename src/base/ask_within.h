#pragma once

#include <chrono>
#include <future>
#include <memory>
#include <thread>
#include <type_traits>

// How long a drive's folder may take to answer before it counts as lying on
// a stalled server.
inline constexpr std::chrono::milliseconds AnswerTimeLimit{1500};

// Asks on a thread of its own, which is left behind should it never answer:
// ask holds whatever it uses (shared), since it may outlive the caller.
template <class Ask>
std::future<std::invoke_result_t<Ask>> AskOffThread(Ask ask)
{
    auto answer = std::make_shared<std::promise<std::invoke_result_t<Ask>>>();
    auto future = answer->get_future();
    std::thread([ask = std::move(ask), answer] { answer->set_value(ask()); }).detach();
    return future;
}
