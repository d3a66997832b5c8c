#include "CurlLibrary.h"

#include <dlfcn.h>

namespace platform {
namespace {

// The names the library goes by: its OpenSSL build, then its GnuTLS build (the same interface).
constexpr const char* kLibraryNames[] = {"libcurl.so.4", "libcurl-gnutls.so.4"};

template <typename TFunction>
bool Find(void* library, const char* name, TFunction& function) {
  function = reinterpret_cast<TFunction>(dlsym(library, name));
  return function != nullptr;
}

}  // namespace

TCurlLibrary::TCurlLibrary() {
  // Once loaded the library stays: it and its TLS libraries keep thread-local state that must
  // not vanish under threads that used it, and a second client would only load it again.
  for (const char* name : kLibraryNames) {
    Handle_ = dlopen(name, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (Handle_) break;
  }
  if (!Handle_ || !FindEntryPoints()) return;
  Loaded_ = GlobalInit_(CURL_GLOBAL_DEFAULT) == CURLE_OK;
}

TCurlLibrary::~TCurlLibrary() {
  if (Loaded_) GlobalCleanup_();
  if (Handle_) dlclose(Handle_);
}

bool TCurlLibrary::FindEntryPoints() {
  return Find(Handle_, "curl_global_init", GlobalInit_) &&
         Find(Handle_, "curl_global_cleanup", GlobalCleanup_) &&
         Find(Handle_, "curl_easy_init", EasyInit) &&
         Find(Handle_, "curl_easy_setopt", EasySetopt) &&
         Find(Handle_, "curl_easy_perform", EasyPerform) &&
         Find(Handle_, "curl_easy_cleanup", EasyCleanup) &&
         Find(Handle_, "curl_slist_append", SlistAppend) &&
         Find(Handle_, "curl_slist_free_all", SlistFreeAll);
}

}  // namespace platform
