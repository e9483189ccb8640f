#include "signed_query.h"

#include "code_page.h"
#include "md5.h"
#include "text_encoding.h"

const char kSigningKey[] = "Q7mZkR2vT9xLp4Wd8sNc3HfYb6GjE1Ua";
const char kUpdateInfoPath[] = "/upgrade/info?data=";

namespace {
const char kEmptyValue[] = "NULL";

const std::string& Sent(const std::string& value)
{
    static const std::string null = kEmptyValue;
    return value.empty() ? null : value;
}
} // namespace

QueryParameters MakeQueryParameters(const UpdateRequest& request)
{
    QueryParameters parameters;
    parameters["appId"] = request.appId;
    parameters["channel"] = request.channel;
    parameters["osVersion"] = request.osVersion;
    parameters["reqType"] = std::to_string(static_cast<long long>(request.reqType));
    parameters["ts"] = std::to_string(static_cast<long long>(request.ts));
    parameters["uid"] = request.uid;
    parameters["version"] = request.version;
    return parameters;
}

std::string BuildSigningText(const QueryParameters& parameters)
{
    std::string signing;
    for (const auto& parameter : parameters)
        signing += Sent(parameter.second);
    return signing + kSigningKey;
}

std::string BuildQueryText(const QueryParameters& parameters)
{
    std::string query;
    for (const auto& parameter : parameters)
        query += parameter.first + "=" + Sent(parameter.second) + "&";
    return query + "sign=" + Md5Hex(BuildSigningText(parameters));
}

std::string BuildSignedData(QueryParameters parameters)
{
    const std::string query = BuildQueryText(parameters);
    return UrlEncode(Base64Encode(query.data(), query.size()));
}

std::string MakeRequestPrefix(const std::string& host)
{
    return "http://" + host + kUpdateInfoPath;
}

UpdateQueryResult ReadQueryAnswer(int transportCode, const std::string& body, UpdateManifest& manifest)
{
    UpdateQueryResult result;
    if (transportCode != 0) {
        result.requestOk = false;
        result.requestError = transportCode;
        return result;
    }
    const AnswerOutcome outcome = ParseUpdateAnswer(WideToAnsi(Utf8ToWide(body)), manifest);
    result.answerOk = outcome.ok;
    result.code = outcome.code;
    result.desc = outcome.desc;
    return result;
}
