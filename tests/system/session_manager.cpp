// A session manager for one client, speaking XSMP through libSM as desktop session managers do.
// Prints the network address for SESSION_MANAGER on its first line. When the client has
// registered, it is asked for the checkpoint a new client gets; a line "logout" on standard
// input then asks it to save for a shutdown and, when it is done, to die. Exits 0 when the
// client closed its connection after that, 1 on any other course or after 30 s without news.

#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

SmsConn client = nullptr;
IceConn clientIce = nullptr;
bool loggingOut = false;
bool died = false;
bool closed = false;

void say(const char* what) {
    std::printf("%s\n", what);
    std::fflush(stdout);
}

Status registerClient(SmsConn connection, SmPointer, char* previousId) {
    std::free(previousId);
    char* id = SmsGenerateClientID(connection);
    const Status status = SmsRegisterClientReply(connection, id);
    std::free(id);
    say("registered");
    // A client without a previous id gets a local checkpoint first, as the protocol requires.
    SmsSaveYourself(connection, SmSaveLocal, False, SmInteractStyleNone, False);
    return status;
}

void saveYourselfDone(SmsConn connection, SmPointer, Bool success) {
    if (!loggingOut) {
        say(success ? "checkpoint saved" : "checkpoint failed");
        SmsSaveComplete(connection);
        return;
    }
    say(success ? "shutdown save done" : "shutdown save failed");
    if (!success) std::exit(1);
    SmsDie(connection);
    died = true;
    say("die sent");
}

void closeConnection(SmsConn connection, SmPointer, int count, char** reasons) {
    SmFreeReasons(count, reasons);
    SmsCleanUp(connection);
    closed = true;
    say("client closed its connection");
}

// The properties the client sets are not kept: a test starts it by hand.
Status newClient(SmsConn connection, SmPointer, unsigned long* mask, SmsCallbacks* callbacks,
                 char**) {
    client = connection;
    *mask = (SmsGetPropertiesProcMask << 1) - 1;  // all ten, get_properties the last
    callbacks->register_client.callback = registerClient;
    callbacks->interact_request.callback = [](SmsConn c, SmPointer, int) { SmsInteract(c); };
    callbacks->interact_done.callback = [](SmsConn, SmPointer, Bool) {};
    callbacks->save_yourself_request.callback = [](SmsConn, SmPointer, int, Bool, int, Bool, Bool) {
    };
    callbacks->save_yourself_phase2_request.callback = [](SmsConn c, SmPointer) {
        SmsSaveYourselfPhase2(c);
    };
    callbacks->save_yourself_done.callback = saveYourselfDone;
    callbacks->close_connection.callback = closeConnection;
    callbacks->set_properties.callback = [](SmsConn, SmPointer, int count, SmProp** properties) {
        for (int i = 0; i < count; ++i) SmFreeProperty(properties[i]);
        std::free(properties);
    };
    callbacks->delete_properties.callback = [](SmsConn, SmPointer, int count, char** names) {
        for (int i = 0; i < count; ++i) std::free(names[i]);
        std::free(names);
    };
    callbacks->get_properties.callback = [](SmsConn c, SmPointer) {
        SmsReturnProperties(c, 0, nullptr);
    };
    return 1;
}

// The test's client runs as the same user on this machine: no cookie is needed.
Bool anyHost(char*) { return True; }

void logOut() {
    if (!client) {
        say("log-out asked before a client registered");
        std::exit(1);
    }
    loggingOut = true;
    SmsSaveYourself(client, SmSaveBoth, True, SmInteractStyleAny, False);
    say("shutdown save asked");
}

}  // namespace

int main() {
    char error[256] = "";
    if (!SmsInitialize("velandri-test", "1", newClient, nullptr, anyHost, sizeof error, error)) {
        std::fprintf(stderr, "SmsInitialize: %s\n", error);
        return 1;
    }
    int listenCount = 0;
    IceListenObj* listeners = nullptr;
    if (!IceListenForConnections(&listenCount, &listeners, sizeof error, error)) {
        std::fprintf(stderr, "IceListenForConnections: %s\n", error);
        return 1;
    }
    for (int i = 0; i < listenCount; ++i) IceSetHostBasedAuthProc(listeners[i], anyHost);
    char* address = IceComposeNetworkIdList(listenCount, listeners);
    say(address);
    std::free(address);

    while (!closed) {
        std::vector<pollfd> watched{{STDIN_FILENO, POLLIN, 0}};
        for (int i = 0; i < listenCount; ++i)
            watched.push_back({IceGetListenConnectionNumber(listeners[i]), POLLIN, 0});
        IceConn watchedClient = clientIce;
        if (watchedClient) watched.push_back({IceConnectionNumber(watchedClient), POLLIN, 0});
        if (poll(watched.data(), watched.size(), 30000) <= 0) {
            say("no news for 30 s");
            return 1;
        }
        if (watched[0].revents) {
            char line[64] = "";
            if (!std::fgets(line, sizeof line, stdin)) {
                say("standard input closed");
                return 1;
            }
            if (std::strncmp(line, "logout", 6) == 0) logOut();
        }
        for (int i = 0; i < listenCount; ++i) {
            if (!watched[1 + i].revents) continue;
            IceAcceptStatus status;
            IceConn accepted = IceAcceptConnection(listeners[i], &status);
            if (accepted) clientIce = accepted;
        }
        if (watchedClient && watched.back().revents) {
            const IceProcessMessagesStatus status =
                IceProcessMessages(watchedClient, nullptr, nullptr);
            if (status != IceProcessMessagesSuccess) {
                if (!closed) say("the client's connection broke");
                closed = true;
            }
        }
    }
    IceFreeListenObjs(listenCount, listeners);
    return died ? 0 : 1;
}
