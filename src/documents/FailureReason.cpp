#include "documents/FailureReason.h"

#include "core/SystemError.h"

#include <cerrno>
#include <filesystem>

namespace mz {

EMissingFile::EMissingFile(const std::string& message) : EIOOperation(message), TFailureReason(MsgNoSuchFile)
{
}

std::string ReasonOf(const std::exception& error)
{
    const auto* reason = dynamic_cast<const TFailureReason*>(&error);
    return reason ? reason->Reason() : std::string();
}

void ThrowWithReason(const std::string& message, const std::exception& cause)
{
    const std::string reason = ReasonOf(cause);
    if (dynamic_cast<const EInOutError*>(&cause)) {
        if (reason.empty())
            throw EInOutError(message);
        throw ESystemFailure(message, reason);
    }
    throw EFailureWithReason(message, reason);
}

void CheckReadableFile(const std::string& fileName, const char* missingPattern)
{
    std::error_code ec;
    const auto status = std::filesystem::status(fileName, ec);
    if (!std::filesystem::exists(status))
        throw EMissingFile(FormatMessage(missingPattern, fileName));
    if (!std::filesystem::is_regular_file(status))
        throw ESystemFailure(fileName,
                             std::filesystem::is_directory(status) ? SystemErrorText(EISDIR) : MsgNotRegularFile);
}

} // namespace mz
