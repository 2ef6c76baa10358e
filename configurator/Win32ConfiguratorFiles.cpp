#include "configurator/Win32ConfiguratorFiles.h"

#include "common/MoveIntoPlace.h"
#include "configurator/PrivateProfileFile.h"
#include "configurator/RegistryBackupFiles.h"

#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <memory>

namespace zartune {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

std::unique_ptr<ProfileSection> Win32ConfiguratorFiles::OpenProfile(const std::string& path,
                                                                     const std::string& section) {
    return std::make_unique<PrivateProfileFile>(path, section);
}

void Win32ConfiguratorFiles::Unprotect(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesA(path.c_str(),
                       attributes & ~(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

void Win32ConfiguratorFiles::Protect(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesA(path.c_str(), attributes | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
}

std::vector<BackupFailure> Win32ConfiguratorFiles::CopyBackupFiles(const RegistryBackupPlan& plan) {
    return RegistryBackupFiles::BackUp(plan);
}

ConfiguratorFiles::ReadResult Win32ConfiguratorFiles::ReadWhole(const std::string& path, std::string* text) {
    errno = 0;
    const File file(std::fopen(path.c_str(), "rb"));
    if (!file) return errno == ENOENT ? ReadResult::Missing : ReadResult::Unreadable;
    text->clear();
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) text->append(buffer, got);
    return std::ferror(file.get()) ? ReadResult::Unreadable : ReadResult::Read;
}

bool Win32ConfiguratorFiles::WriteWhole(const std::string& path, const std::string& text) {
    File file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    if (std::fclose(file.release()) == 0 && written) return true;
    std::remove(path.c_str());
    return false;
}

bool Win32ConfiguratorFiles::MoveIntoPlace(const std::string& fresh, const std::string& target) {
    return ::MoveIntoPlace(fresh, target);
}

void Win32ConfiguratorFiles::Remove(const std::string& path) { std::remove(path.c_str()); }

bool Win32ConfiguratorFiles::Present(const std::string& path) { return FilePresent(path); }

}  // namespace zartune
