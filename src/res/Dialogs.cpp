#include "ui/DialogTemplate.h"

#include <map>
#include <vector>

namespace res {

// Each part of the program lists its templates in a file of its own.
void AddShellDialogs(std::vector<ui::DialogTemplate>& out);
void AddTransferDialogs(std::vector<ui::DialogTemplate>& out);
void AddEditorDialogs(std::vector<ui::DialogTemplate>& out);
void AddSettingsDialogs(std::vector<ui::DialogTemplate>& out);

namespace {

const std::map<int, ui::DialogTemplate>& AllTemplates() {
    static const std::map<int, ui::DialogTemplate> all = [] {
        std::vector<ui::DialogTemplate> list;
        AddShellDialogs(list);
        AddTransferDialogs(list);
        AddEditorDialogs(list);
        AddSettingsDialogs(list);
        std::map<int, ui::DialogTemplate> byId;
        for (auto& t : list) byId.emplace(t.id, std::move(t));
        return byId;
    }();
    return all;
}

}  // namespace

}  // namespace res

// The lookup the dialog model declares; the templates are this folder's data.
const ui::DialogTemplate* ui::FindDialogTemplate(int id) {
    const auto& all = res::AllTemplates();
    auto it = all.find(id);
    return it == all.end() ? nullptr : &it->second;
}
