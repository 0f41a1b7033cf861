#pragma once

#include "fw/CCmdTarget.h"
#include "fw/Types.h"

#include <QList>

class CDocTemplate;
class CView;

// A document: the data of a page, shown by one or more views. A document
// deletes itself when its last view goes (m_bAutoDelete) or when it is
// closed; closing it destroys the frames of its views first.
class CDocument : public CCmdTarget
{
public:
    CDocument();
    ~CDocument() override;

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const CString& strTitle);

    // A new, empty document is being made: clears its contents. FALSE stops
    // the document from being opened.
    virtual BOOL OnNewDocument();
    // Destroys the frames of all views, then the document itself.
    virtual void OnCloseDocument();
    // Empties the document's data; the base has none.
    virtual void DeleteContents();

    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    void AddView(CView* pView);
    void RemoveView(CView* pView);
    POSITION GetFirstViewPosition() const;
    CView* GetNextView(POSITION& rPosition) const;
    const QList<CView*>& GetViews() const { return m_views; }

    BOOL m_bAutoDelete = TRUE;

private:
    friend class CDocTemplate;

    CString m_strTitle;
    CDocTemplate* m_pDocTemplate = nullptr;
    QList<CView*> m_views;
};
