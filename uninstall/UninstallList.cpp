// Reading, splitting and carrying out the remove list.
#include "uninstall/UninstallList.h"

#include "support/File.h"
#include "uninstall/UninstallActions.h"
#include "uninstall/UninstallMessages.h"
#include "uninstall/UninstallPaths.h"

namespace {

bool ReadWholeFile(const std::string& path, std::string& text) {
    File file;
    return file.Open(path, File::Mode::Read) && file.ReadAll(text, kMaxTextFileBytes);
}

UninstallCommand ParseLine(const std::string& line) {
    // A carriage return ends the line's text where it stands, and so does a NUL byte, which no
    // path can hold.
    std::string content = line.substr(0, line.find_first_of(std::string("\r\0", 2)));
    UninstallCommand command;
    if (!content.empty()) {
        command.letter = content[0];
    }
    if (content.size() > 2) {
        command.argument = content.substr(2);
    }
    return command;
}

} // namespace

std::vector<UninstallCommand> ParseUninstallList(const std::string& text) {
    std::vector<UninstallCommand> commands;
    size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    for (;;) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            break;
        }
        commands.push_back(ParseLine(text.substr(start, end - start)));
        start = end + 1;
    }
    return commands;
}

bool CarryOutUninstallCommand(const UninstallCommand& command, const std::string& installFolder) {
    if (command.argument.find_first_not_of(" \t\v\f") == std::string::npos) {
        // Without an argument there is nothing to name; blanks alone would name a file called
        // so, and for L, R and U an empty key path would name a whole root.
        return true;
    }
    const bool isPath = command.letter == 'C' || command.letter == 'D' || command.letter == 'F';
    const std::string path =
        isPath ? ResolveListedPath(command.argument, installFolder) : std::string();
    const int refusal = isPath ? CheckListedPath(path, installFolder, command.letter == 'C') : 0;
    switch (command.letter) {
    case 'C':
        if (refusal == 0) {
            UnregisterServerLibrary(path);
        }
        return true;
    case 'D':
        if (int error = refusal != 0 ? refusal : RemoveListedFolder(path); error != 0) {
            ShowErrorBox(UninstallText::FolderErrorCaption, UninstallText::FolderError, path,
                         error);
            return false;
        }
        return true;
    case 'F':
        if (int error = refusal != 0 ? refusal : RemoveListedFile(path); error != 0) {
            ShowErrorBox(UninstallText::FileErrorCaption, UninstallText::FileError, path, error);
            return false;
        }
        return true;
    case 'L':
        RegDeleteKeyTree(SettingsRoot::LocalMachine, command.argument);
        return true;
    case 'U':
        RegDeleteKeyTree(SettingsRoot::CurrentUser, command.argument);
        return true;
    case 'R': // the classes root has no counterpart in the settings
    default:
        return true;
    }
}

bool ProcessUninstallList(const std::string& programPath) {
    if (programPath.empty()) {
        return false;
    }
    std::string text;
    if (!ReadWholeFile(GetUninstallListPath(programPath), text)) {
        return false;
    }
    std::vector<UninstallCommand> commands = ParseUninstallList(text);
    const std::string installFolder = FolderOf(programPath);
    bool succeeded = true;
    for (auto it = commands.rbegin(); it != commands.rend(); ++it) {
        if (!CarryOutUninstallCommand(*it, installFolder)) {
            succeeded = false;
        }
    }
    return succeeded;
}
