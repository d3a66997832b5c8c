#pragma once
// Counts the open connections in all and per client address.

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace server {

/// Hands out one ticket per open connection while the limits allow it. Safe to use from several
/// threads.
class TConnectionCounter {
 public:
  /// Why a connection was refused, or kNone.
  enum class TRefusal { kNone, kTotal, kPerAddress };

  /// A held place; giving it back (destroying it) frees the place.
  class TTicket {
   public:
    /// A place of this address in the counter.
    TTicket(TConnectionCounter& counter, std::string address);
    ~TTicket();
    TTicket(const TTicket&) = delete;
    TTicket& operator=(const TTicket&) = delete;

   private:
    TConnectionCounter& Counter_;
    std::string Address_;
  };

  /// A counter allowing this many connections in all and from one address; the exempt address
  /// (a trusted proxy, or empty) is only bound by the total.
  TConnectionCounter(int maxTotal, int maxPerAddress, std::string exemptAddress);

  /// A ticket for a new connection from the address, or nothing and the reason.
  std::unique_ptr<TTicket> TryOpen(const std::string& address, TRefusal& refusal);

  /// Connections open now.
  int Open();

 private:
  void Release(const std::string& address);

  int MaxTotal_;
  int MaxPerAddress_;
  std::string ExemptAddress_;
  std::mutex Mutex_;
  int Total_ = 0;
  std::unordered_map<std::string, int> PerAddress_;
};

}  // namespace server
