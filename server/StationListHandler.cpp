#include "StationListHandler.h"

#include "ByteRange.h"
#include "ContentNegotiation.h"
#include "EncodedStationList.h"
#include "RequestLog.h"
#include "StationListStore.h"
#include "StopFlag.h"

#include <algorithm>

namespace stationserver {
namespace {

// Served as opaque bytes, so that httplib never compresses them by itself:
// the list goes out byte for byte, or gzipped ahead of time and marked so.
constexpr char kContentType[] = "application/octet-stream";
constexpr std::size_t kOversizedLength = std::size_t{65} * 1024 * 1024;
constexpr std::size_t kPieceSize = 64 * 1024;

void ForbidCaching(httplib::Response& response)
{
    response.set_header("Cache-Control", "no-store, no-cache");
    response.set_header("Pragma", "no-cache");
    response.set_header("Expires", "0");
}

// The bytes of the list repeated as far as needed, starting at offset.
bool WriteRepeated(const std::string& list, std::size_t offset, std::size_t length, ProviderTally& tally,
                   httplib::DataSink& sink)
{
    std::string piece;
    piece.reserve(length);
    while (piece.size() < length) {
        const std::size_t from = (offset + piece.size()) % list.size();
        piece.append(list, from, std::min(list.size() - from, length - piece.size()));
    }
    return tally.Write(sink, piece.data(), piece.size());
}

}

StationListHandler::StationListHandler(const StationListStore& store, Fault fault, RequestLog& log,
                                       const StopFlag& stopFlag)
    : m_store(store)
    , m_fault(fault)
    , m_log(log)
    , m_stopFlag(stopFlag)
{
}

void StationListHandler::operator()(const httplib::Request& request, httplib::Response& response) const
{
    ForbidCaching(response);
    const std::chrono::milliseconds delay(m_fault.kind == Fault::Kind::Delay ? m_fault.delayMilliseconds : 0);
    if (!m_stopFlag.SleepFor(delay)) {
        response.status = 503;
        response.set_content("The server is stopping.\n", "text/plain");
        return;
    }
    // One list for the whole answer, whatever reloads meanwhile.
    std::shared_ptr<const EncodedStationList> list = m_store.Current();
    if (m_fault.kind != Fault::Kind::None && m_fault.kind != Fault::Kind::Delay)
        AnswerWithFault(request, response, std::move(list));
    else
        AnswerWithList(request, response, std::move(list));
}

// The list goes out from memory that every answer shares, without a copy,
// whole or the one range asked for. The log line is written just before
// the last piece, so that a client that has its answer finds it.
void StationListHandler::AnswerWithList(const httplib::Request& request, httplib::Response& response,
                                        std::shared_ptr<const EncodedStationList> list) const
{
    const bool gzip = AcceptsGzip(request.get_header_value("Accept-Encoding"));
    const std::shared_ptr<const std::string> body(list, gzip ? &list->gzip : &list->identity);
    const std::string& tag = gzip ? list->gzipTag : list->identityTag;
    response.set_header("ETag", tag);
    response.set_header("Vary", "Accept-Encoding");
    if (IfNoneMatchNames(request.get_header_value("If-None-Match"), tag)) {
        response.status = 304;
        return;
    }

    // A range of another list than this one (If-Range names its tag) would
    // mix two lists in the client's copy: that client gets the whole list.
    const bool rangeFitsList = !request.has_header("If-Range") || request.get_header_value("If-Range") == tag;
    const ByteRange range =
        rangeFitsList ? SelectByteRange(request.get_header_value("Range"), body->size()) : ByteRange{};
    if (range.kind == ByteRange::Kind::Unsatisfiable) {
        response.status = 416;
        response.set_header("Content-Range", range.ContentRange(body->size()));
        response.set_content("The station list has " + std::to_string(body->size()) +
                                 " bytes; the range asked for is not among them.\n",
                             "text/plain");
        return;
    }
    if (gzip)
        response.set_header("Content-Encoding", "gzip");
    const bool part = range.kind == ByteRange::Kind::Part;
    const std::size_t start = part ? range.offset : 0;
    const std::size_t bytes = part ? range.count : body->size();
    response.status = part ? 206 : 200;
    if (part)
        response.set_header("Content-Range", range.ContentRange(body->size()));

    auto tally = std::make_shared<ProviderTally>(m_log, request, response.status);
    response.set_content_provider(
        bytes, kContentType,
        [body, tally, start](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
            const std::size_t piece = std::min(length, kPieceSize);
            if (piece == length)
                tally->LogAnswer(tally->BytesSent() + piece);
            return tally->Write(sink, body->data() + start + offset, piece);
        },
        ProviderTally::LogWhenReleased(tally));
}

void StationListHandler::AnswerWithFault(const httplib::Request& request, httplib::Response& response,
                                         std::shared_ptr<const EncodedStationList> list) const
{
    if (m_fault.kind == Fault::Kind::Status) {
        response.status = m_fault.status;
        response.set_content("The station list is not available (fault injected for testing).\n", "text/plain");
        return;
    }

    response.status = 200;
    auto tally = std::make_shared<ProviderTally>(m_log, request, response.status);
    auto releaser = ProviderTally::LogWhenReleased(tally);
    const std::shared_ptr<const std::string> bytes(list, &list->identity);
    const StopFlag& stopFlag = m_stopFlag;

    switch (m_fault.kind) {
    case Fault::Kind::CloseMidBody:
        // Returning false from the provider makes httplib drop the
        // connection, short of the announced length.
        response.set_content_provider(
            bytes->size(), kContentType,
            [bytes, tally](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                const std::size_t half = bytes->size() / 2;
                if (offset < half)
                    tally->Write(sink, bytes->data() + offset, half - offset);
                return false;
            },
            releaser);
        break;
    case Fault::Kind::StalledBody:
        response.set_content_provider(
            bytes->size(), kContentType,
            [bytes, tally, &stopFlag](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                const std::size_t half = bytes->size() / 2;
                if (offset < half)
                    return tally->Write(sink, bytes->data() + offset, half - offset);
                stopFlag.SleepFor(std::chrono::milliseconds(200));
                return !stopFlag.IsRaised();
            },
            releaser);
        break;
    case Fault::Kind::EndlessBody:
        response.set_chunked_content_provider(
            kContentType,
            [bytes, tally](std::size_t offset, httplib::DataSink& sink) {
                return WriteRepeated(*bytes, offset, kPieceSize, *tally, sink);
            },
            releaser);
        break;
    case Fault::Kind::OversizedBody:
        response.set_content_provider(
            kOversizedLength, kContentType,
            [bytes, tally](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                return WriteRepeated(*bytes, offset, std::min(length, kPieceSize), *tally, sink);
            },
            releaser);
        break;
    case Fault::Kind::None:
    case Fault::Kind::Delay:
    case Fault::Kind::Status:
        break;
    }
}

}
