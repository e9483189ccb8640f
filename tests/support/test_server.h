#pragma once

#include <json/json.h>

#include <string>
#include <vector>

// The update server that tests/run-with-server started for this test program.
struct TestServer {
    static std::string Address();                    // 127.0.0.1:PORT
    static std::string Url(const std::string& path); // http://127.0.0.1:PORT + path
    static std::string Dir();                        // a Windows path to the server's folder, with "\"
    static void WritePackage(const std::string& name, const std::string& bytes);
    static void WriteCatalogue(const std::string& json);
    static std::vector<std::string> LogLines();
    // The log's records from line `from` on. Bodies are logged once they have
    // gone out, possibly after the client has its answer.
    static std::vector<Json::Value> LogRecords(size_t from = 0);
    // Adds the test CA (tests/tls/ca.crt) to the machine's ROOT store, where
    // WinHTTP finds it, for the rest of the prefix's life; true when it is
    // there. The server's identities but "other-ca" are signed by it.
    static bool TrustTestCa();
};
