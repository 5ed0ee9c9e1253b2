#include "clicommand.h"
#include "commands.h"

#include <QCoreApplication>

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

// wabrix-cli itself runs "generate" without --png and without a layout choice, which draws nothing and
// needs no printer, on Qt Core alone. Every other call may draw or ask the default printer for its page
// (the compact layout fills it): it runs in the drawing part, a module loaded only then, so that generating
// puzzles starts without Qt Gui and the many libraries that come with it.

namespace {

// Whether argument is the long option name, alone or with its value after "=".
bool isOption(const char *argument, const char *name) {
    const std::size_t length = std::strlen(name);
    return std::strncmp(argument, name, length) == 0 && (argument[length] == '\0' || argument[length] == '=');
}

bool drawsNothing(int argc, char *argv[]) {
    if (argc < 2 || std::strcmp(argv[1], "generate") != 0)
        return false;
    // Wherever such a name stands, even as another option's value, the drawing part runs: it does all
    // that this part does, only starting slower.
    for (int i = 2; i < argc; ++i)
        for (const char *name : {"--png", "--layout", "--frame", "--effort"})
            if (isOption(argv[i], name))
                return false;
    return true;
}

// The folder of the running program.
std::string programFolder() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return ".";
    path[length] = '\0';
    const char *slash = std::strrchr(path, '/');
    return slash ? std::string(path, static_cast<std::size_t>(slash - path)) : std::string(".");
}

// Loads the drawing part, beside the program in the build tree, or where it is installed, and runs it.
int runDrawingPart(int argc, char *argv[]) {
    const std::string folder = programFolder();
    std::string reason;
    for (const std::string &path : {folder + '/' + drawingModuleName,
                                    folder + '/' + WABRIX_DRAWING_MODULE_FOLDER + '/' + drawingModuleName}) {
        void *module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            reason = dlerror();
            continue;
        }
        if (const auto entry = reinterpret_cast<int (*)(int, char **)>(dlsym(module, "wabrixCliMain")))
            return entry(argc, argv);
        reason = dlerror();
    }
    std::fprintf(stderr, "wabrix-cli: der zeichnende Programmteil fehlt oder ist beschädigt: %s\n",
                 reason.c_str());
    return exitFileError;
}

int runGenerateOnly(QStringList arguments) {
    arguments.removeFirst(); // "generate"
    return runGenerate(arguments, GenerateDrawing());
}

} // namespace

int main(int argc, char *argv[]) {
    if (!drawsNothing(argc, argv))
        return runDrawingPart(argc, argv);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("wabrix-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(WABRIX_VERSION));
    return runCommandLine(argc, argv, &runGenerateOnly);
}
