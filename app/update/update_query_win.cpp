#include "update_query.h"

#include <windows.h>

#include "call_with_deadline.h"
#include "http_timeouts.h"
#include "wininet_http.h"

std::string DefaultRequestPrefix()
{
#ifdef FERNCASTLE_TEST_CONFIG
    // The test configuration reaches the project's own server on loopback:
    // HOST:PORT, or with a scheme of its own such as "https://HOST:PORT".
    char server[256] = {};
    const DWORD length = GetEnvironmentVariableA("FERNCASTLE_UPDATE_SERVER", server, sizeof server);
    if (length > 0 && length < sizeof server) {
        const std::string origin(server, length);
        if (origin.find("://") != std::string::npos)
            return origin + kUpdateInfoPath;
        return MakeRequestPrefix(origin);
    }
#endif
    return MakeRequestPrefix(FERNCASTLE_UPDATE_HOST);
}

UpdateQueryResult QueryUpdateInfo(const UpdateRequest& request, UpdateManifest& manifest)
{
    return QueryUpdateInfo(request, manifest, DefaultRequestPrefix());
}

UpdateQueryResult QueryUpdateInfo(const UpdateRequest& request, UpdateManifest& manifest,
                                  const std::string& requestPrefix)
{
    const std::string address = requestPrefix + BuildSignedData(MakeQueryParameters(request));
    struct Exchange {
        int code = kHttpAnswerTooSlow;
        std::string body;
    };
    // The whole exchange, from the name's resolution to the body's last byte,
    // has one deadline: each step's time-out alone lets a server that sends
    // a byte now and then hold the window, which waits unpainted, for ever.
    // WinINet cannot be interrupted in the middle (closing a request reads
    // its body to the end first), so the exchange runs on a thread of its
    // own, which is left to itself past the deadline.
    const Exchange exchange = CallWithDeadline<Exchange>(
                                  [address] {
                                      Exchange done;
                                      CWininetHttp http;
                                      done.code = http.Request(address, 0, done.body);
                                      http.CloseHandles();
                                      return done;
                                  },
                                  std::chrono::milliseconds(kUpdateCheckDeadlineMs))
                                  .value_or(Exchange());
    return ReadQueryAnswer(exchange.code, exchange.body, manifest);
}
