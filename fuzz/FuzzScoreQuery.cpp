// fuzz_score_query: the score service's query strings as they arrive over HTTP. Every query gets
// one of the documented answers; a submission the parser accepts keeps the field limits it
// promises, and its name reaches the score page's name cell only as escaped HTML.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "online/TextCodec.h"
#include "platform/CodePage1251.h"
#include "server/ScoreDatabase.h"
#include "server/ScorePage.h"
#include "server/ScoreQuery.h"
#include "server/ScoreService.h"
#include "server/Submission.h"
#include "server/TokenSigner.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// A service over a database in memory, shared by every input.
struct TServiceBench {
  server::TScoreDatabase Database{":memory:"};
  server::TTokenSigner Tokens{std::string(32, 's')};
  server::TScoreService Service{Database, Tokens, server::TServiceLimits{0, 0}, nullptr};
};

TServiceBench& Bench() {
  static TServiceBench bench;
  return bench;
}

bool KnownStatus(int status) {
  return status == 200 || status == 400 || status == 403 || status == 414 || status == 429 ||
         status == 500;
}

void CheckSubmission(const server::TSubmission& submission) {
  Require(!submission.Name.empty() &&
          submission.Name.size() <= server::TSubmission::kMaxNameLength);
  Require(submission.OptionsText.size() <= server::TSubmission::kMaxOptionsLength);
  Require(submission.Score >= 0 && submission.Score <= server::TSubmission::kMaxScore);
  Require(server::IsPrintableGameText(submission.Name));
  Require(server::IsPrintableGameText(submission.OptionsText));
  const server::TScoreRow row{platform::Cp1251ToUtf8(submission.Name), submission.Score,
                              platform::Cp1251ToUtf8(submission.OptionsText), 0};
  const std::string page = server::RenderScorePage({row});
  const std::string cell = "<td class=\"name\">" + server::HtmlEscape(row.Name) + "</td>";
  Require(page.find(cell) != std::string::npos);
  Require(server::HtmlEscape(row.Name).find_first_of("<>\"'") == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view query(reinterpret_cast<const char*>(data), size);
  const server::TServiceReply reply =
      Bench().Service.Handle(query, "127.0.0.1", server::TScoreService::TClock::now(), 0);
  Require(KnownStatus(reply.Status) && !reply.Body.empty());
  if (size > server::TScoreQuery::kMaxLength) {
    Require(reply.Status == 414);
    return 0;
  }
  const auto parsed = server::TScoreQuery::Parse(query);
  if (!parsed) Require(reply.Status == 400);
  if (!parsed || parsed->Kind != server::TScoreQuery::TKind::Submission) return 0;
  const auto submission = server::TSubmission::Parse(online::DecodeText(parsed->Info));
  if (submission) CheckSubmission(*submission);
  return 0;
}
