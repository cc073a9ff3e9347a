#pragma once

#include <QLoggingCategory>
#include <QObject>

#include <exception>
#include <utility>
#include <version>

#ifdef __cpp_lib_source_location
#include <source_location>
using StepPlace = std::source_location;
#else
// Where a step was written, for compilers whose standard library lacks std::source_location
// (clang before 15 with libstdc++).
struct StepPlace {
    static constexpr StepPlace current(
        const char *file = __builtin_FILE(), unsigned line = __builtin_LINE()) noexcept
    {
        return { file, line };
    }
    constexpr const char *file_name() const noexcept { return m_file; }
    constexpr unsigned line() const noexcept { return m_line; }
    const char *m_file;
    unsigned m_line;
};
#endif

// Event handlers run each step this way: a step that fails is skipped without a word to the user
// and the handler goes on with its next step, so nothing escapes into Qt's event loop. Skipped
// steps are logged under "veyloom.skipped", which is off unless a developer turns it on with
// QT_LOGGING_RULES="veyloom.skipped.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcSkipped)

template <typename Step>
void skipOnFailure(Step &&step, const StepPlace &where = StepPlace::current()) noexcept
{
    try {
        std::forward<Step>(step)();
    } catch (const std::exception &failure) {
        qCDebug(lcSkipped, "skipped %s:%u: %s", where.file_name(), where.line(), failure.what());
    } catch (...) {
        qCDebug(lcSkipped, "skipped %s:%u", where.file_name(), where.line());
    }
}

// Runs step in the skip-on-failure mode each time the sender emits signal.
template <typename Sender, typename Signal, typename Step>
QMetaObject::Connection connectStep(const Sender *sender, Signal signal, const QObject *context,
    Step step, const StepPlace &where = StepPlace::current())
{
    return QObject::connect(
        sender, signal, context, [step = std::move(step), where] { skipOnFailure(step, where); });
}
