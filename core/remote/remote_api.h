// The remote's commands, the same for HTTP and WebSocket clients: each is checked in full, then made
// through the host's edit path. Runs on the host's thread; no socket, so tests and the fuzzer call it
// directly.
#pragma once

#include <string>
#include <string_view>

#include "remote/remote_host.h"
#include "remote/remote_state.h"

namespace vireo::remote {

inline constexpr std::string_view kApiPrefix = "/api/v1";

struct ApiRequest {
  std::string method;  // "GET", "PUT", "POST", ...
  std::string path;    // the target without the query, still percent-encoded: "/api/v1/fields/chDelay%5B3%5D"
  std::string body;
};

struct ApiResponse {
  int status = 200;
  Json body;
};

// A refusal: {"error": message} with its status.
ApiResponse ErrorResponse(int status, std::string message);

// One request under /api/v1 (the WebSocket upgrade excepted).
ApiResponse HandleApi(RemoteHost& host, const ApiRequest& request);

// One WebSocket message: the answer to send back ({"type":"result"|"error", "id": ...}).
Json HandleSocketCommand(RemoteHost& host, std::string_view message);

// Percent-decoding of one path segment; false for a malformed escape or a decoded NUL or slash.
bool DecodeSegment(std::string_view encoded, std::string* decoded);

}  // namespace vireo::remote
