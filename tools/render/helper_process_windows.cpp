// The helper program on Windows: CreateProcess with a pipe on its standard input, in a
// job object that ends it should the tool end first.
#include "helper_process.h"

#include <windows.h>

namespace {

HANDLE helperProcess = nullptr;
HANDLE inputPipe = nullptr;
HANDLE helperJob = nullptr;

// One argument as the C runtime's parser reads it back: quoted when it holds a space,
// tab or quote (or is empty), a quote and the backslashes before it escaped.
std::string quoted(const std::string& arg)
{
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) {
        return arg;
    }
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(2 * backslashes, '\\');
    return out + "\"";
}

std::string commandLine(const std::vector<std::string>& args)
{
    std::string line;
    for (const std::string& arg : args) {
        line += (line.empty() ? "" : " ") + quoted(arg);
    }
    return line;
}

HANDLE openInherited(const char* path, DWORD access, DWORD disposition)
{
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    return CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited, disposition, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

// The job that kills its processes when its last handle, ours, closes with the tool.
HANDLE endingJob()
{
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job != nullptr) {
        SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
    return job;
}

} // namespace

bool startHelper(const std::vector<std::string>& args, const std::string& errorLogPath, std::string* error)
{
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    if (CreatePipe(&readEnd, &inputPipe, &inherited, 0) == 0) {
        *error = "cannot start " + args[0] + ": no pipe";
        return false;
    }
    SetHandleInformation(inputPipe, HANDLE_FLAG_INHERIT, 0);
    const HANDLE discard = openInherited("NUL", GENERIC_WRITE, OPEN_EXISTING);
    const HANDLE log = openInherited(errorLogPath.c_str(), GENERIC_WRITE, CREATE_ALWAYS);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = readEnd;
    startup.hStdOutput = discard;
    startup.hStdError = log;
    PROCESS_INFORMATION started = {};
    std::string line = commandLine(args);
    const BOOL ok = CreateProcessA(args[0].c_str(), &line[0], nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                                   nullptr, &startup, &started);
    CloseHandle(readEnd);
    CloseHandle(discard);
    CloseHandle(log);
    if (ok == 0) {
        CloseHandle(inputPipe);
        inputPipe = nullptr;
        *error = "cannot start " + args[0] + ": Windows error " + std::to_string(GetLastError());
        return false;
    }
    if (helperJob == nullptr) {
        helperJob = endingJob();
    }
    AssignProcessToJobObject(helperJob, started.hProcess);
    ResumeThread(started.hThread);
    CloseHandle(started.hThread);
    helperProcess = started.hProcess;
    return true;
}

bool writeToHelper(const uint8_t* bytes, size_t count)
{
    size_t sent = 0;
    while (sent < count) {
        const DWORD chunk = static_cast<DWORD>(count - sent < MAXDWORD ? count - sent : MAXDWORD);
        DWORD wrote = 0;
        if (WriteFile(inputPipe, bytes + sent, chunk, &wrote, nullptr) == 0 || wrote == 0) {
            return false;
        }
        sent += wrote;
    }
    return true;
}

void closeHelperInput()
{
    if (inputPipe != nullptr) {
        CloseHandle(inputPipe);
        inputPipe = nullptr;
    }
}

bool waitForHelper()
{
    DWORD code = 1;
    const bool ended =
        WaitForSingleObject(helperProcess, INFINITE) == WAIT_OBJECT_0 && GetExitCodeProcess(helperProcess, &code) != 0;
    CloseHandle(helperProcess);
    helperProcess = nullptr;
    return ended && code == 0;
}

void stopHelperNow()
{
    if (helperProcess != nullptr) {
        TerminateProcess(helperProcess, 1);
    }
}
