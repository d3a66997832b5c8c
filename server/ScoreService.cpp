#include "ScoreService.h"

#include "ScorePage.h"
#include "ScoreQuery.h"
#include "Submission.h"
#include "online/TextCodec.h"
#include "platform/CodePage1251.h"

namespace server {

namespace {

// How often redeemed tokens that expired are cleared from the database.
constexpr std::chrono::minutes kTokenSweep{1};

TServiceReply Refusal(int status, std::string reason) {
  return {status, "text/plain; charset=utf-8", "ERROR|" + std::move(reason)};
}

}  // namespace

TScoreService::TScoreService(TScoreStore& store, const TTokenSigner& tokens,
                             const TServiceLimits& limits, TServerLog* log)
    : Store_(store),
      Tokens_(tokens),
      Log_(log),
      Handshakes_(limits.HandshakesPerMinute),
      Submissions_(limits.SubmissionsPerMinute) {}

TServiceReply TScoreService::Handle(std::string_view query, const std::string& clientAddress,
                                    TClock::time_point now, int64_t wallSeconds) {
  return *Dispatch(query, clientAddress, now, wallSeconds, true);
}

std::optional<TServiceReply> TScoreService::HandleWithoutWaiting(std::string_view query,
                                                                 const std::string& clientAddress,
                                                                 TClock::time_point now,
                                                                 int64_t wallSeconds) {
  return Dispatch(query, clientAddress, now, wallSeconds, false);
}

std::optional<TServiceReply> TScoreService::Dispatch(std::string_view query,
                                                     const std::string& clientAddress,
                                                     TClock::time_point now, int64_t wallSeconds,
                                                     bool mayWait) {
  if (query.size() > TScoreQuery::kMaxLength) return Refusal(414, "query too long");
  const auto parsed = TScoreQuery::Parse(query);
  if (!parsed) return Refusal(400, "malformed query");
  switch (parsed->Kind) {
    case TScoreQuery::TKind::Handshake:
      return Handshake(clientAddress, now, wallSeconds);
    case TScoreQuery::TKind::Submission:
      if (!mayWait) return std::nullopt;
      return Submit(parsed->Info, clientAddress, now, wallSeconds);
    case TScoreQuery::TKind::Page:
      return Page(now, mayWait);
  }
  return Refusal(400, "malformed query");
}

TServiceReply TScoreService::Handshake(const std::string& clientAddress, TClock::time_point now,
                                       int64_t wallSeconds) {
  if (!Handshakes_.Allow(clientAddress, now)) {
    LogError("handshake rate limit hit by " + clientAddress);
    return Refusal(429, "too many requests");
  }
  // Fields: OK, program, protocol, token lifetime in seconds, token, and an empty last field so
  // that the token is followed by a separator.
  return {200, "text/plain; charset=utf-8",
          "OK|CometLaneDerby|1|" + std::to_string(TTokenSigner::kLifetimeSeconds) + "|" +
              Tokens_.Issue(wallSeconds) + "|"};
}

TServiceReply TScoreService::Submit(const std::string& info, const std::string& clientAddress,
                                    TClock::time_point now, int64_t wallSeconds) {
  auto checked = Check(info, clientAddress, now, wallSeconds);
  if (auto* refusal = std::get_if<TServiceReply>(&checked)) return std::move(*refusal);
  const auto& pending = std::get<TPendingScore>(checked);
  TServiceReply reply;
  try {
    reply = Stored(Store_.Add(pending.Row, pending.Token, pending.TokenExpiry), "", clientAddress);
  } catch (const std::exception& e) {
    reply = Stored(TScoreStore::TAddResult::kStored, e.what(), clientAddress);
  }
  if (reply.Status == 200) DropExpiredTokens(now, wallSeconds);
  return reply;
}

bool TScoreService::HandleLater(std::string_view query, const std::string& clientAddress,
                                TClock::time_point now, int64_t wallSeconds, TReplyDone done) {
  if (!Store_.AddsLater() || query.size() > TScoreQuery::kMaxLength) return false;
  const auto parsed = TScoreQuery::Parse(query);
  if (!parsed || parsed->Kind != TScoreQuery::TKind::Submission) return false;
  auto checked = Check(parsed->Info, clientAddress, now, wallSeconds);
  if (auto* refusal = std::get_if<TServiceReply>(&checked)) {
    done(std::move(*refusal));
    return true;
  }
  auto& pending = std::get<TPendingScore>(checked);
  Store_.AddLater(pending.Row, pending.Token, pending.TokenExpiry,
                  [this, clientAddress, now, wallSeconds, done = std::move(done)](
                      TScoreStore::TAddResult result, const std::string& error) {
                    TServiceReply reply = Stored(result, error, clientAddress);
                    const bool stored = reply.Status == 200;
                    done(std::move(reply));
                    // After the answer is on its way: the sweep must not hold it up.
                    if (stored) DropExpiredTokens(now, wallSeconds);
                  });
  return true;
}

std::variant<TServiceReply, TScoreService::TPendingScore> TScoreService::Check(
    const std::string& info, const std::string& clientAddress, TClock::time_point now,
    int64_t wallSeconds) {
  if (!Submissions_.Allow(clientAddress, now)) {
    LogError("submission rate limit hit by " + clientAddress);
    return Refusal(429, "too many requests");
  }
  const auto submission = TSubmission::Parse(online::DecodeText(info));
  if (!submission) return Refusal(400, "malformed submission");
  const auto expiry = Tokens_.Check(submission->Token, wallSeconds);
  if (!expiry) return Refusal(403, "unknown or used token");
  return TPendingScore{{platform::Cp1251ToUtf8(submission->Name), submission->Score,
                        platform::Cp1251ToUtf8(submission->OptionsText), wallSeconds},
                       submission->Token,
                       *expiry};
}

TServiceReply TScoreService::Stored(TScoreStore::TAddResult result, const std::string& error,
                                    const std::string& clientAddress) {
  if (!error.empty()) {
    LogError(error + " (score from " + clientAddress + " not stored)");
    return Refusal(500, "score not stored");
  }
  if (result == TScoreStore::TAddResult::kTokenUsed) return Refusal(403, "unknown or used token");
  {
    const std::lock_guard lock(Mutex_);
    Page_.reset();
    ++Generation_;
  }
  return {200, "text/plain; charset=utf-8", "OK"};
}

std::optional<TServiceReply> TScoreService::Page(TClock::time_point now, bool mayWait) {
  std::shared_ptr<const std::string> page;
  uint64_t generation = 0;
  {
    const std::lock_guard lock(Mutex_);
    // While one request makes the page anew, the others get the page it replaces, unless a
    // score stored here has outdated that one: one page made a second, not one per request.
    const auto age = now - PageMade_;
    if (Page_ && (age < kPageMaxAge || (Renders_ > 0 && age < 2 * kPageMaxAge))) page = Page_;
    generation = Generation_;
    if (!page && mayWait) ++Renders_;
  }
  if (page) return TServiceReply{200, "text/html; charset=utf-8", *page};
  if (!mayWait) return std::nullopt;
  try {
    page = std::make_shared<const std::string>(RenderScorePage(Store_.Top(kScorePageRows)));
  } catch (const std::exception& e) {
    {
      const std::lock_guard lock(Mutex_);
      --Renders_;
    }
    LogError(std::string(e.what()) + " (score page not made)");
    return Refusal(500, "score page unavailable");
  }
  {
    // A score stored while the page was made outdates it: it is served once, not kept.
    const std::lock_guard lock(Mutex_);
    --Renders_;
    if (Generation_ == generation) {
      Page_ = page;
      PageMade_ = now;
    }
  }
  return TServiceReply{200, "text/html; charset=utf-8", *page};
}

void TScoreService::DropExpiredTokens(TClock::time_point now, int64_t wallSeconds) {
  {
    const std::lock_guard lock(Mutex_);
    if (now - TokensDropped_ < kTokenSweep) return;
    TokensDropped_ = now;
  }
  try {
    Store_.DropExpiredTokens(wallSeconds);
  } catch (const std::exception& e) {
    LogError(std::string(e.what()) + " (expired tokens not cleared)");
  }
}

void TScoreService::LogError(const std::string& message) {
  if (Log_) Log_->Error(message);
}

}  // namespace server
