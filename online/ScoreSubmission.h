#pragma once
// The texts of the score handshake and submission, shared by the game and the score service.

#include <cstdint>
#include <string>
#include <string_view>

namespace online {

/// The program name both sides put into every query.
inline constexpr std::string_view kProgramName = "CometLaneDerby";
/// The path of every request to the score service.
inline constexpr std::string_view kScorePath = "/cgi/version.pl";
/// The handshake query.
inline constexpr std::string_view kHandshakeQuery = "version&prg=CometLaneDerby";
/// The submission query, followed by the encoded submission text.
inline constexpr std::string_view kSubmissionQueryPrefix = "hs&prg=CometLaneDerby&inf=";
/// The query of the world score page.
inline constexpr std::string_view kScorePageQuery = "prg=CometLaneDerby&show&type=0";
/// The submission key letter agreed between the game and the service.
inline constexpr char kSubmissionKey = 'R';
/// The message shown when the handshake fails.
inline constexpr std::string_view kCantConnectMessage = "Can't connect to server!";
/// What the game shows when the service answered the submission with a refusal.
inline constexpr std::string_view kNotAcceptedMessage = "Score not accepted!";

/// Whether a handshake reply accepts the connection: it begins with "OK" (case matters).
bool IsHandshakeAccepted(std::string_view reply);

/// The token of a handshake reply: the field of the fifth split at the first "|". A split that
/// finds no separator leaves an empty field, so "OK" alone gives an empty token.
std::string HandshakeToken(std::string_view reply);

/// The plain submission text: type, name, score, key, token, options text and the closing
/// "z=" field, padded with "0" to a multiple of five characters.
std::string PlainSubmissionText(std::string_view name, int64_t score, std::string_view token,
                                std::string_view optionsText);

}  // namespace online
