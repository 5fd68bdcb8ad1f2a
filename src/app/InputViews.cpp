#include "app/InputViews.h"

#include "app/MainFrame.h"
#include "model/RunTimeState.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "res/FrameResource.h"
#include "tables/DBViewClass2.h"

#include <algorithm>

namespace {

// Buttons, lines and lines at the root are how every tree of the model is drawn.
constexpr unsigned kTreeStyle = ui::style::kTabStop | ui::style::kBorder;

constexpr int kTreeHeight = 350;

// The tree spans the view less 50 pixels on the right, 350 pixels high.
ui::Rect TreeRect(int viewWidth) { return ui::Rect{0, 0, std::max(viewWidth - 50, 200), kTreeHeight}; }

ui::TreeView& MakeTree(ui::View& view) {
    return static_cast<ui::TreeView&>(view.AddControl(ui::ControlKind::Tree, IDC_SELECT_TREE, "",
                                                      TreeRect(view.GetClientRect().Width()), kTreeStyle));
}

void FitTree(ui::View& view, int cx) {
    if (ui::Control* tree = view.GetDlgItem(IDC_SELECT_TREE)) tree->MoveWindow(TreeRect(cx));
}

}  // namespace

// ---------------------------------------------------------------------------------------

void CSelectTreeCtrl::OnSelchanged(ui::View& view, ui::TreeView& tree, ui::HTREEITEM item) {
    view.Invalidate();
    g_strTreeItem = tree.GetItemText(item);
    ui::HTREEITEM parent = tree.GetParentItem(item);
    g_strTreeParent = parent ? tree.GetItemText(parent) : std::string();
    CInputView2::PickProduct();
}

// ---------------------------------------------------------------------------------------
// The product tree

const ui::HandlerTable* CInputView2::GetHandlerTable() const {
    static const ui::HandlerTable table(ui::View::GetHandlerTable(), {
        ui::On(ui::Notify::SelChange, IDC_SELECT_TREE, &CInputView2::OnTreeSelChanged),
    });
    return &table;
}

ui::TreeView* CInputView2::Tree() const { return dynamic_cast<ui::TreeView*>(GetDlgItem(IDC_SELECT_TREE)); }

void CInputView2::OnInitialUpdate() {
    ui::TreeView& tree = MakeTree(*this);
    const ui::HTREEITEM root = tree.InsertItem("Product Selection");
    const std::string products = deffiles::ProductsInf();
    const int count = platform::BoundedCount(platform::GetPrivateProfileInt("ProductList", "ProductCount", 14, products),
                                             platform::kMaxListCount, products, "ProductCount");
    for (int n = 1; n <= count; ++n) {
        const std::string name = deffiles::ReadText(products, "ProductList", deffiles::NumberedKey("Product", n), "1", 4096);
        if (platform::GetPrivateProfileInt("ProductList", deffiles::NumberedKey("ProductStatus", n), 14, products) != 1)
            continue;
        const ui::HTREEITEM item = tree.InsertItem(name, root);
        const std::string tip = deffiles::ReadToolTip(name);
        m_toolTips[item] = tip;
        tree.SetItemToolTip(item, tip);
    }
    tree.Expand(root, true);
}

void CInputView2::OnSize(int cx, int) { FitTree(*this, cx); }

std::string CInputView2::ToolTipOf(ui::HTREEITEM item) const {
    auto it = m_toolTips.find(item);
    return it == m_toolTips.end() ? std::string() : it->second;
}

void CInputView2::OnTreeSelChanged(const ui::Event& e) {
    if (ui::TreeView* tree = Tree()) CSelectTreeCtrl::OnSelchanged(*this, *tree, e.item);
}

void CInputView2::PickProduct() {
    const int count = deffiles::ReadProductCount();
    for (int n = 1; n <= count; ++n) {
        const std::string name = deffiles::ReadText(deffiles::ProductsInf(), "ProductList",
                                                    deffiles::NumberedKey("Product", n), "1", 4096);
        if (name != g_strTreeItem && name != g_strTreeParent) continue;
        const unsigned id = static_cast<unsigned>(platform::Atoi(deffiles::ReadProductValue("DeviceID", n)));
        g_nDeviceId = g_nDeviceIdAlt = id;
        g_szProductPath = g_szProductNameCopy = g_szProductName = name;
        if (CMainFrame* frame = CMainFrame::Get()) frame->GoToProtocolLevel();
        return;
    }
}

// ---------------------------------------------------------------------------------------
// The protocol trees

const ui::HandlerTable* CProtocolView::GetHandlerTable() const {
    static const ui::HandlerTable table(ui::View::GetHandlerTable(), {
        ui::On(ui::Notify::SelChange, IDC_SELECT_TREE, &CProtocolView::OnTreeSelChanged),
    });
    return &table;
}

ui::TreeView* CProtocolView::Tree() const { return dynamic_cast<ui::TreeView*>(GetDlgItem(IDC_SELECT_TREE)); }

void CProtocolView::OnInitialUpdate() {
    ui::TreeView& tree = MakeTree(*this);
    tree.SetColors(ui::kDefaultColor, ui::RGB(255, 255, 255), false);
    const bool threePorts = g_nDeviceId == 84 || g_nDeviceIdAlt == 84;
    const ui::HTREEITEM root = tree.InsertItem(m_port == 1 && threePorts ? "Protocol"
                                               : m_port == 1 ? "Com1 Protocol" : "Com2 Protocol");
    for (const deffiles::ProtocolEntry& entry : deffiles::ReadProtocols(g_szProductName, m_port)) {
        const ui::HTREEITEM protocol = tree.InsertItem(entry.name, root);
        const std::string file = deffiles::PlcDefinitionFile(g_szProductName, entry.plcNo);
        const int models = platform::BoundedCount(platform::GetPrivateProfileInt("Plc Info", "Plc Model count", -1, file),
                                                  platform::kMaxListCount, file, "Plc Model count");
        for (int m = 1; m <= models; ++m)
            tree.InsertItem(deffiles::ReadText(file, "Plc Info", deffiles::NumberedKey("Plc", m), deffiles::kCorruptPlcFile),
                            protocol);
    }
    tree.Expand(root, true);
    m_built = true;
}

void CProtocolView::OnSize(int cx, int) { FitTree(*this, cx); }

void CProtocolView::OnTreeSelChanged(const ui::Event& e) {
    if (ui::TreeView* tree = Tree()) CSelectTreeCtrl::OnSelchanged(*this, *tree, e.item);
}

bool CProtocolView::GetSelectedProtocol(std::string& protocol, std::string& model) const {
    ui::TreeView* tree = Tree();
    if (!tree) return false;
    ui::HTREEITEM item = tree->GetSelectedItem();
    if (!item) return false;
    // Down the first children to a model: root -> protocol -> model.
    for (int depth = 0; depth < 2 && tree->ItemHasChildren(item); ++depth) item = tree->GetChildItem(item);
    const ui::HTREEITEM parent = tree->GetParentItem(item);
    if (!parent || !tree->GetParentItem(parent)) return false;  // a protocol without models
    protocol = tree->GetItemText(parent);
    model = tree->GetItemText(item);
    return true;
}

std::string CProtocolView::GetSelectedPlcNo() const {
    std::string protocol, model;
    if (!GetSelectedProtocol(protocol, model)) return std::string();
    return deffiles::ReadProtocolPlcNo(g_szProductName, protocol);
}

std::string CProtocolView::GetSelectedPlcFile() const {
    std::string plcNo = GetSelectedPlcNo();
    return plcNo.empty() ? std::string() : deffiles::PlcDefinitionFile(g_szProductName, plcNo);
}

void CProtocolView::OnDraw(ui::Painter& painter) {
    if (m_port == 2 && (g_nDeviceId == 84 || g_nDeviceIdAlt == 84)) return;
    std::string protocol, model;
    GetSelectedProtocol(protocol, model);
    painter.DrawText(20, 360, "SELECTED PROTOCOL", ui::RGB(0, 0, 255));
    painter.DrawText(20, 380, "PLC Name :", ui::RGB(0, 0, 0));
    painter.DrawText(100, 380, protocol, ui::RGB(0, 0, 0));
    painter.DrawText(20, 400, "PLC Model :", ui::RGB(0, 0, 0));
    painter.DrawText(100, 400, model, ui::RGB(0, 0, 0));
    painter.DrawText(20, 420, "*** Click Configure Project button on Toolbar", ui::RGB(0, 0, 0));
    painter.DrawText(20, 440, "*** To Configure the Project", ui::RGB(0, 0, 0));
}

CProtocolView::~CProtocolView() {
    // Leaving the protocol level keeps the driver id of the chosen protocol; without a
    // choice nothing changes.
    if (!m_built) return;
    const std::string plcNo = GetSelectedPlcNo();
    if (plcNo.empty()) return;
    (m_port == 1 ? g_PlcRegisterTables.g_strPlc1DriverId : g_PlcRegisterTables.g_strPlc2DriverId) =
        std::to_string(platform::Atoi(plcNo));
    if (m_port == 2 && std::find(g_arrCanDrivers.begin(), g_arrCanDrivers.end(), plcNo) != g_arrCanDrivers.end()) {
        if (CMainFrame* frame = CMainFrame::Get()) frame->ReinitCom2Pane();
    }
}
