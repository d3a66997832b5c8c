#include "ScoreService.h"

#include "ScorePage.h"
#include "ScoreQuery.h"
#include "Submission.h"
#include "online/TextCodec.h"
#include "platform/CodePage1251.h"

namespace server {

namespace {

TServiceReply Refusal(int status, std::string reason) {
  return {status, "text/plain; charset=utf-8", "ERROR|" + std::move(reason)};
}

}  // namespace

TScoreService::TScoreService(TScoreDatabase& database, TTokenStore& tokens)
    : Database_(database), Tokens_(tokens) {}

TServiceReply TScoreService::Handle(std::string_view query, TTokenStore::TClock::time_point now,
                                    int64_t wallSeconds) {
  if (query.size() > TScoreQuery::kMaxLength) return Refusal(414, "query too long");
  const auto parsed = TScoreQuery::Parse(query);
  if (!parsed) return Refusal(400, "malformed query");
  switch (parsed->Kind) {
    case TScoreQuery::TKind::Handshake:
      return Handshake(now);
    case TScoreQuery::TKind::Submission:
      return Submit(parsed->Info, now, wallSeconds);
    case TScoreQuery::TKind::Page:
      return Page();
  }
  return Refusal(400, "malformed query");
}

TServiceReply TScoreService::Handshake(TTokenStore::TClock::time_point now) {
  // Fields: OK, program, protocol, token lifetime in seconds, token, and an empty last field so
  // that the token is followed by a separator.
  const auto lifetime = std::chrono::seconds(TTokenStore::kLifetime).count();
  return {200, "text/plain; charset=utf-8",
          "OK|CometLaneDerby|1|" + std::to_string(lifetime) + "|" + Tokens_.Issue(now) + "|"};
}

TServiceReply TScoreService::Submit(const std::string& info, TTokenStore::TClock::time_point now,
                                    int64_t wallSeconds) {
  const auto submission = TSubmission::Parse(online::DecodeText(info));
  if (!submission) return Refusal(400, "malformed submission");
  if (!Tokens_.Redeem(submission->Token, now)) return Refusal(403, "unknown or used token");
  const TScoreRow row{platform::Cp1251ToUtf8(submission->Name), submission->Score,
                      platform::Cp1251ToUtf8(submission->OptionsText), wallSeconds};
  if (!Database_.Add(row)) return Refusal(500, "score not stored");
  const std::lock_guard lock(PageMutex_);
  Page_.reset();
  ++Generation_;
  return {200, "text/plain; charset=utf-8", "OK"};
}

TServiceReply TScoreService::Page() {
  std::shared_ptr<const std::string> page;
  uint64_t generation = 0;
  {
    const std::lock_guard lock(PageMutex_);
    page = Page_;
    generation = Generation_;
  }
  if (!page) {
    page = std::make_shared<const std::string>(RenderScorePage(Database_.Top(kScorePageRows)));
    // A score stored while the page was made outdates it: it is served once, not kept.
    const std::lock_guard lock(PageMutex_);
    if (Generation_ == generation) Page_ = page;
  }
  return {200, "text/html; charset=utf-8", *page};
}

}  // namespace server
