#pragma once
// The HTTP library, found and opened at run time by the first request that needs it.

#include <curl/curl.h>

namespace platform {

/// The entry points of libcurl, looked up when a request first needs them: the library and the
/// TLS libraries it pulls in are loaded then, so a session that sends no score never holds them.
class TCurlLibrary {
 public:
  /// Opens the library and sets it up; Loaded says whether that worked.
  TCurlLibrary();
  /// Cleans the library up and closes it.
  ~TCurlLibrary();
  TCurlLibrary(const TCurlLibrary&) = delete;
  TCurlLibrary& operator=(const TCurlLibrary&) = delete;

  /// Whether the library was found with every entry point and set up.
  bool Loaded() const { return Loaded_; }

  decltype(&curl_easy_init) EasyInit = nullptr;
  decltype(&curl_easy_setopt) EasySetopt = nullptr;
  decltype(&curl_easy_perform) EasyPerform = nullptr;
  decltype(&curl_easy_cleanup) EasyCleanup = nullptr;
  decltype(&curl_slist_append) SlistAppend = nullptr;
  decltype(&curl_slist_free_all) SlistFreeAll = nullptr;

 private:
  bool FindEntryPoints();

  void* Handle_ = nullptr;
  decltype(&curl_global_init) GlobalInit_ = nullptr;
  decltype(&curl_global_cleanup) GlobalCleanup_ = nullptr;
  bool Loaded_ = false;
};

}  // namespace platform
