#pragma once

#include "documents/DataAccess.h"

#include <exception>
#include <string>

namespace mz {

// Why a file could not be opened or saved, in the system's words, kept apart
// from the message so that a window wording the failure its own way can add it.
class TFailureReason {
public:
    explicit TFailureReason(std::string reason) : FReason(std::move(reason)) { }
    virtual ~TFailureReason() = default;
    const std::string& Reason() const { return FReason; }

private:
    std::string FReason;
};

// A failure of the operating system: "name: reason".
class ESystemFailure : public EInOutError, public TFailureReason {
public:
    ESystemFailure(const std::string& name, const std::string& reason)
        : EInOutError(name + ": " + reason), TFailureReason(reason)
    {
    }
};

// One of the program's messages ("Wystąpił błąd podczas zapisu pliku %s")
// that ends in the system's reason.
class EFailureWithReason : public EIOOperation, public TFailureReason {
public:
    EFailureWithReason(const std::string& message, const std::string& reason)
        : EIOOperation(WithReasonText(message, reason)), TFailureReason(reason)
    {
    }
    // "message: reason", or the message alone for no reason.
    static std::string WithReasonText(const std::string& message, const std::string& reason)
    {
        return reason.empty() ? message : message + ": " + reason;
    }
};

// A file that is not there, told with the caller's own message; its reason
// is MsgNoSuchFile for whoever words the failure another way.
class EMissingFile : public EIOOperation, public TFailureReason {
public:
    explicit EMissingFile(const std::string& message);
};

// The reason the exception carries; empty when it has none.
std::string ReasonOf(const std::exception& error);

// The program's message with the reason of the exception that caused it: an
// ESystemFailure (as the type of the cause) when the cause was one, else an
// EFailureWithReason.
[[noreturn]] void ThrowWithReason(const std::string& message, const std::exception& cause);

// Why a device or a pipe cannot be opened or replaced as a document.
inline constexpr const char* MsgNotRegularFile = "To nie jest zwykły plik";
// Why a file that is not there cannot be opened.
inline constexpr const char* MsgNoSuchFile = "Plik nie istnieje";

// Before a file is opened for reading: a missing one is an EMissingFile
// (`missingPattern` with the name); a folder, a
// pipe or a device an ESystemFailure, so no read waits for a writer or never ends.
void CheckReadableFile(const std::string& fileName, const char* missingPattern);

// Every word starts in one cell and runs across or down, so a grid holds at
// most two explanations a cell; a file with more is damage, refused before
// the surplus costs memory and time.
inline constexpr int64_t MaxExplsOf(int32_t cols, int32_t rows)
{
    return 2 * static_cast<int64_t>(cols > 0 ? cols : 0) * (rows > 0 ? rows : 0);
}

} // namespace mz
