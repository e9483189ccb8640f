#pragma once

// Time-outs of both HTTP clients, in milliseconds: a server that stalls must
// not freeze the updater.
constexpr int kHttpConnectTimeoutMs = 10000;
constexpr int kHttpSendTimeoutMs = 10000;
constexpr int kHttpReceiveTimeoutMs = 15000;
