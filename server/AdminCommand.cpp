#include "AdminCommand.h"

#include <charconv>
#include <ctime>

namespace server {

namespace {

std::optional<int64_t> ReadId(const std::string& text) {
  int64_t id = 0;
  const char* end = text.data() + text.size();
  const auto [last, error] = std::from_chars(text.data(), end, id);
  if (error != std::errc() || last != end || id <= 0) return std::nullopt;
  return id;
}

std::string DateOf(int64_t seconds) {
  const auto time = static_cast<std::time_t>(seconds);
  std::tm parts{};
  gmtime_r(&time, &parts);
  char text[24];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
  return text;
}

// Reads what follows the action word into the command; false when it does not fit.
bool ReadOperands(const std::vector<std::string>& rest, TAdminCommand& command) {
  switch (command.Action) {
    case TAdminCommand::TAction::kList:
      if (rest.empty()) return true;
      if (rest.size() != 2 || rest[0] != "--name" || rest[1].empty()) return false;
      command.Name = rest[1];
      return true;
    case TAdminCommand::TAction::kRemove:
      for (const auto& text : rest) {
        const auto id = ReadId(text);
        if (!id) return false;
        command.Ids.push_back(*id);
      }
      return !command.Ids.empty();
    case TAdminCommand::TAction::kBan:
    case TAdminCommand::TAction::kUnban:
      if (rest.size() != 1 || rest[0].empty()) return false;
      command.Name = rest[0];
      return true;
  }
  return false;
}

}  // namespace

std::optional<TAdminCommand> TAdminCommand::Parse(const std::vector<std::string>& args,
                                                  std::string& error) {
  TAdminCommand command;
  if (args.size() < 3 || args[0] != "--db" || args[1].empty()) {
    error = "admin needs --db DB and a command";
    return std::nullopt;
  }
  command.Database = args[1];
  const std::string& action = args[2];
  if (action == "list") {
    command.Action = TAction::kList;
  } else if (action == "remove") {
    command.Action = TAction::kRemove;
  } else if (action == "ban") {
    command.Action = TAction::kBan;
  } else if (action == "unban") {
    command.Action = TAction::kUnban;
  } else {
    error = "unknown admin command '" + action + "'";
    return std::nullopt;
  }
  if (!ReadOperands({args.begin() + 3, args.end()}, command)) {
    error = "wrong operands for admin " + action;
    return std::nullopt;
  }
  return command;
}

void TAdminCommand::Run(TScoreStore& store, std::ostream& out) const {
  switch (Action) {
    case TAction::kList:
      for (const auto& listed : store.List(Name)) {
        out << listed.Id << '\t' << listed.Row.Name << '\t' << listed.Row.Score << '\t'
            << DateOf(listed.Row.Time) << '\t' << listed.Row.OptionsText
            << (listed.Banned ? "\tbanned" : "") << '\n';
      }
      break;
    case TAction::kRemove:
      out << "removed " << store.Remove(Ids) << " of " << Ids.size() << " scores\n";
      break;
    case TAction::kBan:
      store.SetBanned(Name, true);
      out << "banned " << Name << '\n';
      break;
    case TAction::kUnban:
      store.SetBanned(Name, false);
      out << "unbanned " << Name << '\n';
      break;
  }
}

}  // namespace server
