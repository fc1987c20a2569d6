#include "platform/sim/ProgramThread.h"

#include <exception>

#include "platform/sim/Device.h"
#include "platform/sim/InputRouter.h"
#include "platform/sim/WindowManager.h"

namespace sim {
namespace {

thread_local Program* currentProgram = nullptr;

} // namespace

Program* CurrentProgram() {
    return currentProgram;
}

// ---- Module ----

Module::Module(std::u16string path, std::span<const std::byte> resources)
    : path(std::move(path)), bytes(resources.begin(), resources.end()) {}

HINSTANCE Module::Handle() const {
    return reinterpret_cast<HINSTANCE>(const_cast<Module*>(this));
}

const res::ResourceFile* Module::Resources() const {
    if (!parsed) {
        parsed = true;
        if (!bytes.empty()) {
            auto file = res::ResourceFile::Parse(bytes);
            if (file.Ok()) {
                resources = std::make_unique<res::ResourceFile>(std::move(file).Value());
            } else {
                resourceError = file.GetError().message;
            }
        }
    }
    return resources.get();
}

const std::string& Module::ResourceError() const {
    Resources();
    return resourceError;
}

// ---- Program ----

Program::Program(Device& device, DWORD pid, DWORD threadId, std::unique_ptr<Module> module,
                 std::u16string commandLine, std::function<int(HINSTANCE, LPWSTR)> entry)
    : device(device), pid(pid), threadId(threadId), module(std::move(module)),
      commandLine(std::move(commandLine)), entry(std::move(entry)) {}

Program::~Program() {
    if (thread.joinable()) {
        thread.join();
    }
}

void Program::Park(Wait nextWait) {
    device.Park(*this, std::move(nextWait));
}

bool Program::RunIncomingCalls() {
    bool any = false;
    while (!incomingCalls.empty()) {
        auto call = std::move(incomingCalls.front());
        incomingCalls.pop_front();
        call();
        any = true;
    }
    return any;
}

void Program::ThreadMain() {
    {
        std::unique_lock guard(device.lock);
        device.changed.wait(guard, [this] { return device.running == this; });
        parked = false;
    }
    currentProgram = this;
    bool aborted = abort;
    if (!aborted) {
        try {
            std::u16string line = commandLine;
            line.push_back(u'\0');
            exitCode = entry ? entry(module->Handle(), line.data()) : 0;
        } catch (const ProgramAborted&) {
            aborted = true;
        } catch (const std::exception& e) {
            device.ReportProblem("program " + std::to_string(pid) +
                                 " ended with an exception: " + e.what());
            exitCode = -1;
        } catch (...) {
            device.ReportProblem("program " + std::to_string(pid) +
                                 " ended with an unknown exception");
            exitCode = -1;
        }
    }
    // A program that returned gets its remaining windows destroyed with the
    // usual messages, so that the objects behind them can go; an unwound one
    // has them forgotten silently.
    if (!aborted) {
        try {
            device.Windows().DestroyProgramWindows(*this, true);
        } catch (const ProgramAborted&) {
            aborted = true;
        }
    }
    callDepth = 0;
    device.Windows().DestroyProgramWindows(*this, false);
    device.Input().ForgetProgram(*this);
    timers.clear();
    posted.clear();
    incomingCalls.clear();
    paintPending.clear();
    currentProgram = nullptr;

    std::lock_guard guard(device.lock);
    finished = true;
    parked = false;
    device.running = nullptr;
    device.changed.notify_all();
}

} // namespace sim
