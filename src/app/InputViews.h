#pragma once
// The selection views of the product and protocol levels: the product tree (CInputView2)
// and the protocol trees of COM1 (CInputView) and COM2 (CInputView1), each with the
// protocols and their PLC models, and the painted summary of the chosen protocol.
#include "ui/Frame.h"

#include <map>
#include <string>

// The tree of the selection views: a choice is recorded and handed to the product pick.
class CSelectTreeCtrl {
public:
    // A person chose an item of the tree in the view.
    static void OnSelchanged(ui::View& view, ui::TreeView& tree, ui::HTREEITEM item);
};

class CInputView2 : public ui::View {
public:
    void OnInitialUpdate() override;
    void OnSize(int cx, int cy) override;
    // Applies the chosen product (g_strTreeItem / g_strTreeParent): the product level moves
    // on to the protocol level. Nothing happens when no product is named.
    static void PickProduct();
    ui::TreeView* Tree() const;
    // The tool tip of a product item.
    std::string ToolTipOf(ui::HTREEITEM item) const;
    const ui::HandlerTable* GetHandlerTable() const override;

private:
    void OnTreeSelChanged(const ui::Event& e);
    std::map<ui::HTREEITEM, std::string> m_toolTips;
};

// The protocol tree of one port.
class CProtocolView : public ui::View {
public:
    explicit CProtocolView(int port) : m_port(port) {}
    ~CProtocolView() override;
    void OnInitialUpdate() override;
    void OnSize(int cx, int cy) override;
    void OnDraw(ui::Painter& painter) override;
    ui::TreeView* Tree() const;
    // The chosen protocol and model: a model and its protocol; a protocol and its first
    // model. False when nothing is chosen.
    bool GetSelectedProtocol(std::string& protocol, std::string& model) const;
    // "PlcNo" of the chosen protocol ("" when none is chosen).
    std::string GetSelectedPlcNo() const;
    // Full path of the chosen protocol's PLC definition file ("" when none is chosen).
    std::string GetSelectedPlcFile() const;
    int Port() const { return m_port; }
    const ui::HandlerTable* GetHandlerTable() const override;

private:
    void OnTreeSelChanged(const ui::Event& e);
    int m_port;
    bool m_built = false;
};

class CInputView : public CProtocolView {
public:
    CInputView() : CProtocolView(1) {}
    std::string GetSelectedPlcCom1() const { return GetSelectedPlcFile(); }
};

class CInputView1 : public CProtocolView {
public:
    CInputView1() : CProtocolView(2) {}
    std::string GetSelectedPlcCom2() const { return GetSelectedPlcFile(); }
};
