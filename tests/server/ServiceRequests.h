#pragma once
// Test support: the game's requests to a running score service, one call each.

#include <cstdint>
#include <string>
#include <utility>

namespace servertest {

/// Status and body of a GET of /cgi/version.pl with the query, optionally with an
/// X-Forwarded-For header (-1 when nothing came back).
std::pair<int, std::string> Get(int port, const std::string& query,
                                const std::string& forwardedFor = "");
/// A token from a handshake (empty when refused).
std::string TokenFrom(int port);
/// The status of a submission with this token.
int SubmitWith(int port, const std::string& token, const std::string& name, int64_t score);
/// The status of a handshake and a submission.
int Submit(int port, const std::string& name, int64_t score);
/// The score page's body.
std::string Page(int port);

}  // namespace servertest
