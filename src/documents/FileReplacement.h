#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace mz {

// Saving a file so that a failure never destroys the old one and a success
// changes nothing but its contents. The new bytes go to a temporary file in
// the folder of the file finally written (a symbolic link is followed to its
// target, so the link stays a link); at Commit the temporary file takes the
// old file's permissions (and its owner, where the system allows) and is
// renamed over it. Hard links of the old file keep the old contents, as with
// any save that replaces the file.
//
// The temporary name is short and of one fixed form, so even a target name of
// the longest length the system allows can be saved, and temporary files left
// by a save that was killed are recognised and removed by the next save into
// the same folder. A save holds a lock on its temporary file while it writes,
// so only files no save is writing any more are removed.
class TFileReplacement {
public:
    // `name` as the user gave it; messages name it.
    explicit TFileReplacement(std::string name);
    // Removes the temporary file unless it was committed.
    ~TFileReplacement();
    TFileReplacement(const TFileReplacement&) = delete;
    TFileReplacement& operator=(const TFileReplacement&) = delete;

    // Creates the empty temporary file. A target that exists but is no regular
    // file (a directory, a device, a pipe) is refused. Errors are EInOutError
    // with the system's description in Polish.
    void Create();
    const std::string& TempName() const { return Temp; }
    // Writes the whole contents of the temporary file.
    void Write(std::string_view bytes);
    // Adds the bytes to what was written so far. Errors are EInOutError with
    // the system's reason (a full disk, say).
    void Append(std::string_view bytes);
    // The file that Commit replaces: `name` with its links followed.
    const std::string& Target() const { return FTarget; }
    // Puts the written temporary file in place of the target and removes stale
    // temporary files of the folder. The file's contents are synced to the
    // disk before the rename and the folder after it, so that a power cut
    // leaves the old file or the new one, never an empty or partial one.
    // Errors are EInOutError.
    void Commit();

private:
    void Discard();

    std::string Name;
    std::string FTarget;
    std::string Temp;
    int LockHandle = -1;
    bool TargetExisted = false;
};

// The whole new contents of `name`, written through a TFileReplacement.
// Errors are EInOutError.
void ReplaceFileContents(const std::string& name, std::string_view bytes);

// An export: makes the text, then puts it in place of `name`, so a failed
// export never leaves a half-written file where an earlier one stood. Any
// input/output failure, in the making or the writing, is reported as
// EIOOperation with the write error of `name`.
void WriteExportFile(const std::string& name, const std::function<std::string()>& makeText);

// Removes the temporary files of the folder that saves of this program left
// behind and that no save is writing now; returns how many went.
int RemoveStaleTemporaries(const std::filesystem::path& dir);

// Removes the temporary files that saves are writing now, for a handler of a
// signal that ends the program (interrupted saves leave nothing behind).
// Safe to call from such a handler: no allocation, no lock.
void RemoveOpenTemporaries();

// Whether a file name (without folder) has the form of this program's
// temporary files, the current one or that of earlier versions (the target's
// name followed by ".~" and eight hexadecimal digits).
bool IsTemporaryName(std::string_view fileName);

} // namespace mz
