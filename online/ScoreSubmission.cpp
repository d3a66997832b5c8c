#include "ScoreSubmission.h"

namespace online {

bool IsHandshakeAccepted(std::string_view reply) {
  return reply.substr(0, 2) == "OK";
}

std::string HandshakeToken(std::string_view reply) {
  std::string_view rest = reply;
  std::string_view field;
  for (int split = 0; split < 5; ++split) {
    const size_t bar = rest.find('|');
    if (bar == std::string_view::npos) {
      field = {};
      continue;
    }
    field = rest.substr(0, bar);
    rest = rest.substr(bar + 1);
  }
  return std::string(field);
}

std::string PlainSubmissionText(std::string_view name, int64_t score, std::string_view token,
                                std::string_view optionsText) {
  std::string text = "type=0|name=";
  text += name;
  text += "|score=" + std::to_string(score);
  text += "|key=";
  text += kSubmissionKey;
  text += "|p=";
  text += token;
  text += "|add=";
  text += optionsText;
  text += "|z=";
  while (text.size() % 5 != 0) text += '0';
  return text;
}

}  // namespace online
