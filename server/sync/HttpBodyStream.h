#pragma once

#include "HttpLimits.h"

#include <cstddef>
#include <curl/curl.h>
#include <streambuf>
#include <string>

namespace stationserver {

// The body of one GET through libcurl, read as a stream while it arrives:
// the reader takes it piece by piece and nothing holds more than the
// pieces not yet read. Redirects are followed within http and https, TLS
// peers are verified, and the answer is given up at the deadline or once
// it grows beyond the size limit. An error status ends the body at once.
class HttpBodyStream : public std::streambuf
{
public:
    HttpBodyStream(const std::string& url, const HttpLimits& limits);
    ~HttpBodyStream() override;
    HttpBodyStream(const HttpBodyStream&) = delete;
    HttpBodyStream& operator=(const HttpBodyStream&) = delete;

    // True once the transfer is over, whole or not.
    bool Ended() const { return m_done; }
    // Why the answer did not arrive whole, once the body has been read to
    // its end; empty when it did.
    std::string Failure() const;

protected:
    int_type underflow() override;

private:
    static std::size_t TakePiece(char* data, std::size_t size, std::size_t count, void* stream);
    // Lets libcurl work until a piece has arrived or the transfer is over.
    void Transfer();

    std::string m_url;
    std::size_t m_maxBytes;
    CURL* m_easy = nullptr;
    CURLM* m_multi = nullptr;
    std::string m_arrived;
    std::string m_reading;
    std::size_t m_received = 0;
    bool m_done = false;
    bool m_tooLarge = false;
    CURLcode m_result = CURLE_OK;
    char m_errorText[CURL_ERROR_SIZE] = {};
};

}
