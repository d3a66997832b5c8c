#pragma once
// "comet-score-server admin": moderation of the stored scores from the command line.

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "ScoreStore.h"

namespace server {

/// One moderation command: list the scores (of one name), remove scores by id, ban or unban a
/// name. A banned name's scores are kept and its submissions still acknowledged, but the page
/// never shows them.
struct TAdminCommand {
  /// What the command does.
  enum class TAction { kList, kRemove, kBan, kUnban };

  /// The database: an SQLite file or a "postgresql://" address.
  std::string Database;
  TAction Action = TAction::kList;
  /// The name listed, banned or unbanned (UTF-8); empty lists everyone.
  std::string Name;
  /// The scores removed.
  std::vector<int64_t> Ids;

  /// Reads the arguments after "admin"; on a mistake, nothing and the reason in error.
  static std::optional<TAdminCommand> Parse(const std::vector<std::string>& args,
                                            std::string& error);

  /// Carries the command out on the store and reports to out: for a listing, one line per score
  /// (id, name, score, date, options text and "banned" when the name is), tab-separated.
  void Run(TScoreStore& store, std::ostream& out) const;
};

}  // namespace server
