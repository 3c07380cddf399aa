#pragma once

#include "platform/automation.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/file_system.h"
#include "platform/http.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/program_end.h"
#include "platform/signature.h"
#include "platform/tray.h"
#include "platform/user.h"
#include "platform/window_system.h"
#include "platform/zip.h"

namespace velandri {

// Every effect the program has on the world, chosen in one place (main or a test).
struct Platform {
    ProcessStarter& process;
    FileSystem& files;
    UserInfo& user;
    Clock& clock;
    EventPump& events;
    AutomationFactory& automation;
    HttpClient& http;
    ZipExtractor& zip;
    SignatureVerifier& signatures;
    ProgramEnd& programEnd;
    MessageBox& messages;
    WindowSystem& windows;
    TrayIcon& tray;
};

}  // namespace velandri
