#include "platform/FileFormats.h"

#include <dlfcn.h>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Exception.h"
#include "platform/FormatsModulePath.h"

namespace platform {

namespace {

// Beside the program first (a program folder carries its module), then where the build put it.
std::vector<std::string> ModuleCandidates()
{
    std::vector<std::string> paths;
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        paths.push_back((program.parent_path() / FormatsModuleName).string());
    paths.push_back(FormatsModuleBuildPath);
    return paths;
}

const TFileFormats* LoadFileFormats()
{
    QString why;
    for (const std::string& path : ModuleCandidates()) {
        std::error_code error;
        if (!std::filesystem::exists(path, error))
            continue;
        void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            why = QString::fromLocal8Bit(dlerror());
            continue;
        }
        const auto entry = reinterpret_cast<TFileFormatsEntry>(dlsym(module, FileFormatsEntry));
        if (const TFileFormats* formats = entry ? entry(FileFormatsVersion) : nullptr)
            return formats;  // loaded for the rest of the run: its objects may outlive any caller
        why = QStringLiteral("\"%1\" is a module of another build").arg(QString::fromStdString(path));
        dlclose(module);
    }
    throw Exception(QStringLiteral("The module for office, database and JPEG files (%1) cannot be loaded%2")
                        .arg(QString::fromUtf8(FormatsModuleName), why.isEmpty() ? QString() : QStringLiteral(": ") + why));
}

}  // namespace

const TFileFormats& FileFormats()
{
    // A failed load throws out of the initialisation, so the next call tries again.
    static const TFileFormats* const formats = LoadFileFormats();
    return *formats;
}

}  // namespace platform
