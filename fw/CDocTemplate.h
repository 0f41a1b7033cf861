#pragma once

#include "fw/CCmdTarget.h"
#include "fw/Types.h"

#include <QList>
#include <functional>

class CDocument;
class CFrameWnd;
class CMDIChildWndEx;
class CView;

// A factory for objects of class T, where the framework makes its pages'
// documents, frames and views: RUNTIME_CLASS(CMyView).
template <class T>
auto RuntimeFactory()
{
    return [] { return new T; };
}
#define RUNTIME_CLASS(className) (::RuntimeFactory<className>())

// A kind of page: makes its document, its frame and its view, and keeps the
// documents it has open. Its document string (the string with the
// template's resource id) names it: window title, document name, file-new
// name, filter, extension, file type id and name, separated by newlines.
class CDocTemplate : public CCmdTarget
{
public:
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName,
    };

    using DocumentFactory = std::function<CDocument*()>;
    using FrameFactory = std::function<CMDIChildWndEx*()>;
    using ViewFactory = std::function<CView*()>;

    CDocTemplate(UINT nIDResource, DocumentFactory documentFactory, FrameFactory frameFactory, ViewFactory viewFactory);
    ~CDocTemplate() override;

    UINT GetResourceID() const { return m_nIDResource; }
    virtual BOOL GetDocString(CString& rString, DocStringIndex index) const;

    // Opens a document: from no file (lpszPathName null) a new, untitled
    // one, shown when bMakeVisible. Returns the document, or null when any
    // part of the page could not be made.
    virtual CDocument* OpenDocumentFile(const CString* lpszPathName, BOOL bMakeVisible = TRUE) = 0;

    const QList<CDocument*>& GetDocuments() const { return m_documents; }
    void AddDocument(CDocument* pDoc);
    void RemoveDocument(CDocument* pDoc);

    // Closes every open document of this template, destroying its pages at
    // once.
    void CloseAllDocuments(BOOL bEndSession);

    CDocument* CreateNewDocument();
    // Makes a frame holding a new view of pDoc inside the application's MDI
    // frame; null when the frame or its view cannot be made.
    CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);

    // "Untitled" names a new document when the template gives no name.
    virtual void SetDefaultTitle(CDocument* pDocument) = 0;

protected:
    UINT m_nIDResource;
    DocumentFactory m_documentFactory;
    FrameFactory m_frameFactory;
    ViewFactory m_viewFactory;

private:
    QList<CDocument*> m_documents;
};
