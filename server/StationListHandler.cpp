#include "StationListHandler.h"

#include "RequestLog.h"
#include "StopFlag.h"

#include <algorithm>

namespace stationserver {
namespace {

// Served as opaque bytes: httplib would gzip a text type for clients that
// accept it, and the program must get the list byte for byte as it stands.
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

StationListHandler::StationListHandler(std::string stationList, Fault fault, RequestLog& log,
                                       const StopFlag& stopFlag)
    : m_stationList(std::make_shared<const std::string>(std::move(stationList)))
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
    if (m_fault.kind != Fault::Kind::None && m_fault.kind != Fault::Kind::Delay) {
        AnswerWithFault(request, response);
        return;
    }
    response.set_content(*m_stationList, kContentType);
}

void StationListHandler::AnswerWithFault(const httplib::Request& request, httplib::Response& response) const
{
    if (m_fault.kind == Fault::Kind::Status) {
        response.status = m_fault.status;
        response.set_content("The station list is not available (fault injected for testing).\n", "text/plain");
        return;
    }

    response.status = 200;
    auto tally = std::make_shared<ProviderTally>(m_log, request, response.status);
    auto releaser = ProviderTally::LogWhenReleased(tally);
    const std::shared_ptr<const std::string> list = m_stationList;
    const StopFlag& stopFlag = m_stopFlag;

    switch (m_fault.kind) {
    case Fault::Kind::CloseMidBody:
        // Returning false from the provider makes httplib drop the
        // connection, short of the announced length.
        response.set_content_provider(
            list->size(), kContentType,
            [list, tally](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                const std::size_t half = list->size() / 2;
                if (offset < half)
                    tally->Write(sink, list->data() + offset, half - offset);
                return false;
            },
            releaser);
        break;
    case Fault::Kind::StalledBody:
        response.set_content_provider(
            list->size(), kContentType,
            [list, tally, &stopFlag](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                const std::size_t half = list->size() / 2;
                if (offset < half)
                    return tally->Write(sink, list->data() + offset, half - offset);
                stopFlag.SleepFor(std::chrono::milliseconds(200));
                return !stopFlag.IsRaised();
            },
            releaser);
        break;
    case Fault::Kind::EndlessBody:
        response.set_chunked_content_provider(
            kContentType,
            [list, tally](std::size_t offset, httplib::DataSink& sink) {
                return WriteRepeated(*list, offset, kPieceSize, *tally, sink);
            },
            releaser);
        break;
    case Fault::Kind::OversizedBody:
        response.set_content_provider(
            kOversizedLength, kContentType,
            [list, tally](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                return WriteRepeated(*list, offset, std::min(length, kPieceSize), *tally, sink);
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
