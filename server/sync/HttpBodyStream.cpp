#include "HttpBodyStream.h"

#include <algorithm>
#include <mutex>
#include <new>

namespace stationserver {
namespace {

constexpr long kMaxRedirects = 5;
constexpr int kPollMs = 1000;
constexpr char kWebProtocols[] = "http,https";

void InitialiseLibraryOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}

HttpBodyStream::HttpBodyStream(const std::string& url, const HttpLimits& limits)
    : m_url(url)
    , m_maxBytes(limits.maxBytes)
{
    InitialiseLibraryOnce();
    m_easy = curl_easy_init();
    m_multi = curl_multi_init();
    if (m_easy == nullptr || m_multi == nullptr)
        throw std::bad_alloc();
    curl_easy_setopt(m_easy, CURLOPT_URL, m_url.c_str());
    curl_easy_setopt(m_easy, CURLOPT_USERAGENT, limits.userAgent.c_str());
    curl_easy_setopt(m_easy, CURLOPT_PROTOCOLS_STR, kWebProtocols);
    curl_easy_setopt(m_easy, CURLOPT_REDIR_PROTOCOLS_STR, kWebProtocols);
    curl_easy_setopt(m_easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(m_easy, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(m_easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(m_easy, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(m_easy, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(m_easy, CURLOPT_NOSIGNAL, 1L);
    // The directory compresses its answers; the limit counts them unpacked.
    curl_easy_setopt(m_easy, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(m_easy, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.deadline.count()));
    curl_easy_setopt(m_easy, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(std::min(limits.connectDeadline, limits.deadline).count()));
    curl_easy_setopt(m_easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(m_maxBytes));
    curl_easy_setopt(m_easy, CURLOPT_WRITEFUNCTION, &HttpBodyStream::TakePiece);
    curl_easy_setopt(m_easy, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(m_easy, CURLOPT_ERRORBUFFER, m_errorText);
    curl_multi_add_handle(m_multi, m_easy);
}

HttpBodyStream::~HttpBodyStream()
{
    curl_multi_remove_handle(m_multi, m_easy);
    curl_easy_cleanup(m_easy);
    curl_multi_cleanup(m_multi);
}

std::size_t HttpBodyStream::TakePiece(char* data, std::size_t size, std::size_t count, void* stream)
{
    auto* self = static_cast<HttpBodyStream*>(stream);
    const std::size_t bytes = size * count;
    self->m_received += bytes;
    if (self->m_received > self->m_maxBytes) {
        self->m_tooLarge = true;
        return 0;
    }
    self->m_arrived.append(data, bytes);
    return bytes;
}

void HttpBodyStream::Transfer()
{
    while (m_arrived.empty() && !m_done) {
        int running = 0;
        const CURLMcode performed = curl_multi_perform(m_multi, &running);
        int queued = 0;
        while (const CURLMsg* message = curl_multi_info_read(m_multi, &queued)) {
            if (message->msg == CURLMSG_DONE) {
                m_done = true;
                m_result = message->data.result;
            }
        }
        if (performed != CURLM_OK && !m_done) {
            m_done = true;
            m_result = CURLE_FAILED_INIT;
        }
        if (m_arrived.empty() && !m_done)
            curl_multi_poll(m_multi, nullptr, 0, kPollMs, nullptr);
    }
}

HttpBodyStream::int_type HttpBodyStream::underflow()
{
    if (gptr() < egptr())
        return traits_type::to_int_type(*gptr());
    Transfer();
    m_reading.clear();
    m_reading.swap(m_arrived);
    if (m_reading.empty())
        return traits_type::eof();
    setg(m_reading.data(), m_reading.data(), m_reading.data() + m_reading.size());
    return traits_type::to_int_type(*gptr());
}

std::string HttpBodyStream::Failure() const
{
    if (m_tooLarge)
        return m_url + ": the answer is larger than " + std::to_string(m_maxBytes >> 20) + " MiB";
    if (!m_done)
        return m_url + ": the answer was not read to its end";
    if (m_result == CURLE_OK)
        return {};
    if (m_result == CURLE_OPERATION_TIMEDOUT)
        return m_url + ": no whole answer in time (" + m_errorText + ")";
    if (m_result == CURLE_PARTIAL_FILE)
        return m_url + ": the answer was cut short (" + m_errorText + ")";
    return m_url + ": " + (m_errorText[0] != '\0' ? std::string(m_errorText) : curl_easy_strerror(m_result));
}

}
