#pragma once

#include "actions/IdleInhibitor.h"

#include <chrono>

// The idle lock as logind's Manager.Inhibit("idle", "Morvane", reason,
// "block") on the system bus. logind holds the lock for as long as the file
// descriptor it answers with stays open anywhere, so this keeps a copy of
// it and closing the copy lets the lock go.
class LogindInhibitor final : public IdleInhibitor
{
public:
    // The window waits this long at most for logind when a task starts.
    explicit LogindInhibitor(std::chrono::milliseconds callTimeout = std::chrono::milliseconds(500));
    ~LogindInhibitor() override;

    LogindInhibitor(const LogindInhibitor &) = delete;
    LogindInhibitor &operator=(const LogindInhibitor &) = delete;

    int hold(const QString &reason) override;
    void release() override;

private:
    std::chrono::milliseconds m_callTimeout;
    int m_fd = -1;
};
