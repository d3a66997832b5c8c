// Submissions handed to the score service without a waiting thread (TScoreService::HandleLater),
// on each database (both queue their writes): a refusal is answered before the call returns and a
// score once it is stored, each exactly once; anything but a submission is left to a waiting
// thread and never answered here.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "StoreBackends.h"
#include "online/ScoreSubmission.h"
#include "online/TextCodec.h"
#include "server/ScoreService.h"
#include "server/ScoreStore.h"
#include "server/TokenSigner.h"

namespace {

using namespace std::chrono_literals;
using server::TScoreService;
using server::TServiceReply;
using servertest::TBackend;

constexpr int64_t kWallSeconds = 1'000'000;

// The statuses of the answers a request handed to HandleLater got, from whichever thread.
class TAnswers {
 public:
  /// The callback that records an answer.
  TScoreService::TReplyDone Done() {
    return [this](TServiceReply reply) {
      const std::lock_guard lock(Mutex_);
      Statuses_.push_back(reply.Status);
      Changed_.notify_all();
    };
  }

  /// The statuses so far, after waiting (at most the limit) for the first.
  std::vector<int> After(std::chrono::milliseconds limit) {
    std::unique_lock lock(Mutex_);
    Changed_.wait_for(lock, limit, [this] { return !Statuses_.empty(); });
    return Statuses_;
  }

 private:
  std::mutex Mutex_;
  std::condition_variable Changed_;
  std::vector<int> Statuses_;
};

// One request, what HandleLater does with it and how it is answered.
struct TLaterCase {
  const char* Name;
  bool Taken;           // HandleLater takes the request
  bool AnsweredAtOnce;  // before HandleLater returns (a refusal)
  int Status;           // the one answer's status (when taken)
};

class LaterSubmissions : public servertest::TStoreBackends {
 protected:
  void SetUp() override {
    TStoreBackends::SetUp();
    if (IsSkipped()) return;
    Store = server::OpenScoreStore(Location, 2);
    Service =
        std::make_unique<TScoreService>(*Store, Tokens, server::TServiceLimits{0, 0}, nullptr);
  }

  // The store stops before the answers it may still call into go.
  void TearDown() override {
    Service.reset();
    Store.reset();
  }

  // A submission of the name's score with the token.
  static std::string Submission(const std::string& token) {
    return std::string(online::kSubmissionQueryPrefix) +
           online::EncodeText(online::PlainSubmissionText("Ann", 10, token, ""));
  }

  // Hands the query to HandleLater and checks what becomes of it against the case.
  void Expect(const std::string& query, const TLaterCase& expected) {
    TAnswers answers;
    const bool taken = Service->HandleLater(query, "127.0.0.1", TScoreService::TClock::now(),
                                            kWallSeconds, answers.Done());
    const std::vector<int> atOnce = answers.After(0ms);
    EXPECT_EQ(taken, expected.Taken) << expected.Name;
    // A queued score may be answered as soon as the database is, so only refusals are checked.
    if (expected.AnsweredAtOnce) {
      EXPECT_EQ(atOnce, std::vector<int>{expected.Status}) << expected.Name;
    }
    // Long enough for a queued score to be stored, and for a second answer to show.
    std::this_thread::sleep_for(300ms);
    const std::vector<int> all = answers.After(expected.Taken ? 5s : 0s);
    if (expected.Taken) {
      EXPECT_EQ(all, std::vector<int>{expected.Status}) << expected.Name;
    } else {
      EXPECT_TRUE(all.empty()) << expected.Name;
    }
  }

  server::TTokenSigner Tokens{"a secret of sixteen bytes or more"};
  std::unique_ptr<server::TScoreStore> Store;
  std::unique_ptr<TScoreService> Service;
};

TEST_P(LaterSubmissions, RefusalsAnswerAtOnceAndScoresOnceStored) {
  const std::string token = Tokens.Issue(kWallSeconds);
  const std::string page(online::kScorePageQuery);
  const std::string handshake(online::kHandshakeQuery);
  const std::string malformed =
      std::string(online::kSubmissionQueryPrefix) + online::EncodeText("not a submission");
  const std::string forged = Submission("not-a-token");
  const std::string valid = Submission(token);
  const std::vector<std::pair<std::string, TLaterCase>> cases = {
      {page, {"the page", false, false, 0}},
      {handshake, {"a handshake", false, false, 0}},
      {malformed, {"a malformed submission", true, true, 400}},
      {forged, {"a forged token", true, true, 403}},
      {valid, {"a score", true, false, 200}},
      {valid, {"its token again", true, false, 403}},
  };
  for (const auto& [query, expected] : cases) Expect(query, expected);
  EXPECT_EQ(Store->Count(), 1);
}

INSTANTIATE_TEST_SUITE_P(Backends, LaterSubmissions,
                         ::testing::Values(TBackend::kSqlite, TBackend::kPostgres),
                         servertest::TStoreBackends::NameOf);

}  // namespace
