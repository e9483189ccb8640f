#pragma once

#include <map>
#include <string>

#include "update_manifest.h"
#include "update_request.h"

// Query parameters by name, in byte-wise order of the names.
using QueryParameters = std::map<std::string, std::string>;

extern const char kSigningKey[];
extern const char kUpdateInfoPath[];

// The seven request values under their field names.
QueryParameters MakeQueryParameters(const UpdateRequest& request);

// The signing text: every value (empty ones as "NULL") in name order, then
// the signing key.
std::string BuildSigningText(const QueryParameters& parameters);

// name=value&...&sign=<md5 of the signing text>; values are not escaped and
// empty ones are sent as "NULL".
std::string BuildQueryText(const QueryParameters& parameters);

// The value of the "data" parameter: the query text, Base64, URL-encoded.
std::string BuildSignedData(QueryParameters parameters);

// "http://" + host + "/upgrade/info?data=".
std::string MakeRequestPrefix(const std::string& host);

// The outcome of one update query.
struct UpdateQueryResult {
    bool requestOk = true;
    int requestError = -1;
    bool answerOk = true;
    int code = -1;
    std::string desc;
};

// Judges what the transport brought back: a non-zero transport code fails
// the request; otherwise the body (UTF-8) is converted to the narrow code
// page and read into `manifest`.
UpdateQueryResult ReadQueryAnswer(int transportCode, const std::string& body, UpdateManifest& manifest);
