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
    Platform platform{.process = process,
                      .files = files,
                      .user = fake.user,
                      .clock = fake.clock,
                      .events = fake.events,
                      .automation = automation,
                      .http = fake.http,
                      .zip = fake.zip,
                      .signatures = fake.signatures,
                      .programEnd = fake.programEnd,
                      .messages = fake.messages,
                      .windows = fake.windows,
                      .tray = fake.tray};
};

}  // namespace velandri
