// SPDX-License-Identifier: GPL-3.0-or-later
// libcurl and the two dozen libraries it brings (TLS, HTTP/2, IDN, Kerberos, LDAP, SSH) are
// loaded by the first call into it, that is when a template source makes its transport:
// the program is not linked to it, and these definitions of the calls the transport makes
// find libcurl's own at that moment. Without libcurl the calls fail as curl reports a
// failure, so a template source's tiles fail and nothing else does.
#include "os/library_on_demand.h"

#include <curl/curl.h>

#include <cstdarg>

namespace {

// libcurl's soname on Debian (the OpenSSL flavour and the others alike).
constexpr char kLibcurl[] = "libcurl.so.4";

// libcurl's own function of that name; each caller finds it once.
template <typename Function> Function Find(const char* name) {
    return FunctionOnDemand<kLibcurl, Function>(name);
}

// The options' types are told by their numbers' ranges, as curl's own headers tell them: a
// long, a data pointer, a function pointer, a curl_off_t or a blob's pointer.
enum class OptionType { Long, Pointer, Offset };

OptionType TypeOf(int option) {
    if (option < CURLOPTTYPE_OBJECTPOINT)
        return OptionType::Long;
    if (option >= CURLOPTTYPE_OFF_T && option < CURLOPTTYPE_BLOB)
        return OptionType::Offset;
    return OptionType::Pointer;
}

// Forwards one option with its one value, read as its type says.
template <typename Result, typename Handle, typename Option>
Result SetOption(const char* name, Result failed, Handle* handle, Option option, va_list value) {
    using Setter = Result (*)(Handle*, Option, ...);
    static const auto set = Find<Setter>(name);
    if (set == nullptr)
        return failed;
    switch (TypeOf(static_cast<int>(option))) {
    case OptionType::Long:
        return set(handle, option, va_arg(value, long));
    case OptionType::Offset:
        return set(handle, option, va_arg(value, curl_off_t));
    case OptionType::Pointer:
        break;
    }
    return set(handle, option, va_arg(value, void*));
}

} // namespace

extern "C" {

CURLcode curl_global_init(long flags) {
    static const auto call = Find<CURLcode (*)(long)>("curl_global_init");
    return call != nullptr ? call(flags) : CURLE_FAILED_INIT;
}

CURL* curl_easy_init() {
    static const auto call = Find<CURL* (*)()>("curl_easy_init");
    return call != nullptr ? call() : nullptr;
}

void curl_easy_cleanup(CURL* easy) {
    static const auto call = Find<void (*)(CURL*)>("curl_easy_cleanup");
    if (call != nullptr)
        call(easy);
}

CURLcode curl_easy_setopt(CURL* easy, CURLoption option, ...) {
    va_list value;
    va_start(value, option);
    const CURLcode result = SetOption("curl_easy_setopt", CURLE_FAILED_INIT, easy, option, value);
    va_end(value);
    return result;
}

CURLcode curl_easy_getinfo(CURL* easy, CURLINFO info, ...) {
    static const auto call = Find<CURLcode (*)(CURL*, CURLINFO, ...)>("curl_easy_getinfo");
    va_list value;
    va_start(value, info);
    void* answer = va_arg(value, void*); // every answer comes back through a pointer
    va_end(value);
    return call != nullptr ? call(easy, info, answer) : CURLE_FAILED_INIT;
}

const char* curl_easy_strerror(CURLcode code) {
    static const auto call = Find<const char* (*)(CURLcode)>("curl_easy_strerror");
    return call != nullptr ? call(code) : "libcurl cannot be loaded";
}

curl_slist* curl_slist_append(curl_slist* list, const char* text) {
    static const auto call = Find<curl_slist* (*)(curl_slist*, const char*)>("curl_slist_append");
    return call != nullptr ? call(list, text) : nullptr;
}

void curl_slist_free_all(curl_slist* list) {
    static const auto call = Find<void (*)(curl_slist*)>("curl_slist_free_all");
    if (call != nullptr)
        call(list);
}

CURLM* curl_multi_init() {
    static const auto call = Find<CURLM* (*)()>("curl_multi_init");
    return call != nullptr ? call() : nullptr;
}

CURLMcode curl_multi_cleanup(CURLM* multi) {
    static const auto call = Find<CURLMcode (*)(CURLM*)>("curl_multi_cleanup");
    return call != nullptr ? call(multi) : CURLM_INTERNAL_ERROR;
}

CURLMcode curl_multi_setopt(CURLM* multi, CURLMoption option, ...) {
    va_list value;
    va_start(value, option);
    const CURLMcode result =
        SetOption("curl_multi_setopt", CURLM_INTERNAL_ERROR, multi, option, value);
    va_end(value);
    return result;
}

CURLMcode curl_multi_add_handle(CURLM* multi, CURL* easy) {
    static const auto call = Find<CURLMcode (*)(CURLM*, CURL*)>("curl_multi_add_handle");
    return call != nullptr ? call(multi, easy) : CURLM_INTERNAL_ERROR;
}

CURLMcode curl_multi_remove_handle(CURLM* multi, CURL* easy) {
    static const auto call = Find<CURLMcode (*)(CURLM*, CURL*)>("curl_multi_remove_handle");
    return call != nullptr ? call(multi, easy) : CURLM_INTERNAL_ERROR;
}

CURLMcode curl_multi_perform(CURLM* multi, int* running) {
    static const auto call = Find<CURLMcode (*)(CURLM*, int*)>("curl_multi_perform");
    return call != nullptr ? call(multi, running) : CURLM_INTERNAL_ERROR;
}

CURLMsg* curl_multi_info_read(CURLM* multi, int* queued) {
    static const auto call = Find<CURLMsg* (*)(CURLM*, int*)>("curl_multi_info_read");
    return call != nullptr ? call(multi, queued) : nullptr;
}

CURLMcode curl_multi_poll(CURLM* multi, curl_waitfd extra[], unsigned int extraCount, int timeoutMs,
                          int* ready) {
    static const auto call =
        Find<CURLMcode (*)(CURLM*, curl_waitfd[], unsigned int, int, int*)>("curl_multi_poll");
    return call != nullptr ? call(multi, extra, extraCount, timeoutMs, ready)
                           : CURLM_INTERNAL_ERROR;
}

} // extern "C"
