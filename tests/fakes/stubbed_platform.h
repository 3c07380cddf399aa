#pragma once

#include "fakes/fake_platform.h"
#include "fakes/stub_programs.h"
#include "platform/linux/default_browser_automation.h"
#include "platform/linux/linux_files.h"
#include "platform/linux/linux_process.h"

namespace velandri {

// The real process start, program test and automation object over stub browsers; the rest
// of the platform fake.
struct StubbedPlatform {
    StubPrograms stubs;
    FakePlatform fake;
    LinuxProcessStarter process;
    LinuxFileSystem files;
    DefaultBrowserAutomation automation{process};
    Platform platform{process,       files,        fake.user, fake.clock,      fake.events,
                      automation,    fake.http,    fake.zip,  fake.signatures, fake.programEnd,
                      fake.messages, fake.windows, fake.tray};
};

}  // namespace velandri
