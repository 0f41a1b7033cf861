#pragma once

#include <functional>

class CDocTemplate;
class CDocument;
class CFrameWnd;
class CView;

// What a frame needs to build its view while it is created: the view's
// factory, the document it shows and the template that made them.
class CCreateContext
{
public:
    std::function<CView*()> m_pNewViewClass;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};
