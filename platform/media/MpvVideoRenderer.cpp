#include "platform/media/MpvVideoRenderer.h"

#include "platform/media/MediaLog.h"
#include "platform/media/MpvFunctions.h"

#include <QImage>
#include <QSysInfo>

namespace {
// QImage::Format_RGB32 holds 0xffRRGGBB in the machine's byte order.
constexpr const char* kPixelFormat = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "bgr0" : "0rgb";

// Only the GUI thread makes and frees render contexts.
int s_nLiveContexts = 0;
}

std::unique_ptr<CMpvVideoRenderer> CMpvVideoRenderer::Create(const MpvFunctions& mpv, mpv_handle* pHandle)
{
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context* pContext = nullptr;
    const int nError = mpv.render_context_create(&pContext, pHandle, params);
    if (nError < 0) {
        qCWarning(lcMedia, "TV channels play without pictures: libmpv's renderer could not be made: %s",
                  mpv.error_string(nError));
        return nullptr;
    }
    return std::unique_ptr<CMpvVideoRenderer>(new CMpvVideoRenderer(mpv, pContext));
}

CMpvVideoRenderer::CMpvVideoRenderer(const MpvFunctions& mpv, mpv_render_context* pContext)
    : m_mpv(mpv)
    , m_pContext(pContext)
{
    ++s_nLiveContexts;
    m_mpv.render_context_set_update_callback(m_pContext, &CMpvVideoRenderer::OnUpdate, this);
}

CMpvVideoRenderer::~CMpvVideoRenderer()
{
    // Once the callback is unset libmpv no longer calls it; a call already
    // queued dies with this object.
    m_mpv.render_context_set_update_callback(m_pContext, nullptr, nullptr);
    m_mpv.render_context_free(m_pContext);
    --s_nLiveContexts;
}

bool CMpvVideoRenderer::Render(QImage& image)
{
    int size[2] = {image.width(), image.height()};
    auto nStride = static_cast<size_t>(image.bytesPerLine());
    // The control draws when asked to, on the GUI thread: it never waits for
    // the picture's time to come.
    int nBlock = 0;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SW_SIZE, size},
        {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>(kPixelFormat)},
        {MPV_RENDER_PARAM_SW_STRIDE, &nStride},
        {MPV_RENDER_PARAM_SW_POINTER, image.bits()},
        {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &nBlock},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    return m_mpv.render_context_render(m_pContext, params) >= 0;
}

void CMpvVideoRenderer::Skip()
{
    int nSkip = 1;
    int nBlock = 0;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SKIP_RENDERING, &nSkip},
        {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &nBlock},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    m_mpv.render_context_render(m_pContext, params);
}

int CMpvVideoRenderer::LiveCount()
{
    return s_nLiveContexts;
}

void CMpvVideoRenderer::OnUpdate(void* pContext)
{
    // Called on one of libmpv's threads, which may call no libmpv function
    // from here: only ask the owner's thread to draw.
    auto* pRenderer = static_cast<CMpvVideoRenderer*>(pContext);
    if (!pRenderer->m_bFrameQueued.exchange(true))
        QMetaObject::invokeMethod(pRenderer, &CMpvVideoRenderer::TellFrameDue, Qt::QueuedConnection);
}

void CMpvVideoRenderer::TellFrameDue()
{
    m_bFrameQueued = false;
    emit FrameDue();
}
