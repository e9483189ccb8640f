#include "test_server.h"

#include <windows.h>

#include <wincrypt.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

namespace {
std::string Env(const char* name)
{
    const char* value = getenv(name);
    return value ? value : "";
}

// Wine shows the Linux file system as drive Z:.
std::string FromLinuxPath(const std::string& path)
{
    std::string out = "Z:" + path;
    for (char& c : out)
        if (c == '/')
            c = '\\';
    return out;
}
} // namespace

std::string TestServer::Address()
{
    return Env("FERNCASTLE_TEST_SERVER");
}

std::string TestServer::Url(const std::string& path)
{
    return "http://" + Address() + path;
}

std::string TestServer::Dir()
{
    return FromLinuxPath(Env("FERNCASTLE_TEST_DIR")) + "\\";
}

void TestServer::WritePackage(const std::string& name, const std::string& bytes)
{
    std::ofstream(Dir() + "packages\\" + name, std::ios::binary) << bytes;
}

void TestServer::WriteCatalogue(const std::string& json)
{
    std::ofstream(Dir() + "catalogue.json", std::ios::binary) << json;
}

std::vector<std::string> TestServer::LogLines()
{
    std::ifstream in(FromLinuxPath(Env("FERNCASTLE_TEST_LOG")), std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<Json::Value> TestServer::LogRecords(size_t from)
{
    const std::vector<std::string> lines = LogLines();
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    std::vector<Json::Value> records;
    for (size_t i = from; i < lines.size(); ++i) {
        Json::Value value;
        if (reader->parse(lines[i].data(), lines[i].data() + lines[i].size(), &value, nullptr))
            records.push_back(value);
    }
    return records;
}

bool TestServer::TrustTestCa()
{
    std::ifstream in(FromLinuxPath(Env("FERNCASTLE_TEST_CA")), std::ios::binary);
    const std::string pem((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    DWORD size = 0;
    if (pem.empty() || !CryptStringToBinaryA(pem.c_str(), DWORD(pem.size()), CRYPT_STRING_BASE64HEADER, nullptr, &size,
                                             nullptr, nullptr))
        return false;
    std::string der(size, '\0');
    if (!CryptStringToBinaryA(pem.c_str(), DWORD(pem.size()), CRYPT_STRING_BASE64HEADER,
                              reinterpret_cast<BYTE*>(&der[0]), &size, nullptr, nullptr))
        return false;
    HCERTSTORE root = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"ROOT");
    if (!root)
        return false;
    const bool added =
        CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()), size,
                                         CERT_STORE_ADD_USE_EXISTING, nullptr) != FALSE;
    CertCloseStore(root, 0);
    return added;
}
