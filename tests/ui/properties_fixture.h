#pragma once

#include "image/device_models.h"
#include "image/image_state.h"
#include "image/port_map.h"
#include "image/port_word_codec.h"
#include "support/fakes.h"
#include "ui/properties/port_page.h"
#include "ui/properties/properties_dialog.h"
#include "ui/properties/trunk_mapping_dialog.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTabWidget>

#include <memory>

// Clicks the named buttons of `window` in turn as a user would (a disabled one ignores the
// click). False when a name is unknown.
inline bool clickButtons(QWidget &window, const QStringList &names)
{
    for (const QString &name : names) {
        auto *button = window.findChild<QAbstractButton *>(name);
        if (!button)
            return false;
        button->click();
    }
    return true;
}

// In the mapping dialog, every port still without a member takes member box `column` where it
// can, then OK.
inline void mapEveryPort(QDialog &dialog, int column = 0)
{
    auto &mapping = static_cast<TrunkMappingDialog &>(dialog);
    for (int tab = 0; tab < 4; ++tab) {
        for (int row = 0; row < 8 && mapping.portTabs->isTabEnabled(tab); ++row) {
            QRadioButton *option = mapping.options(tab)[4 * row + column];
            if (option->isEnabled() && option->isVisibleTo(mapping.trunkFrames[tab]) &&
                !option->group()->checkedButton())
                option->setChecked(true);
        }
    }
    mapping.okButton->click();
}

// A properties dialog on a fresh ImageState of the given model, opened after the test has set the
// port words it wants. Ports are named by their front-panel number, 1..32.
struct PropertiesFixture {
    ImageState state;
    RecordingPrompter prompter;
    ScriptedFileChooser files;
    ScriptedDialogRunner dialogs;
    std::unique_ptr<PropertiesDialog> form;

    explicit PropertiesFixture(int model = Model32NWay)
    {
        state.applyStartupDefaults();
        state.setModel(model);
    }

    int chipPort(int userPort) const
    {
        return PortNumbers::chipPortOf(userPort - 1, state.model().hasGigabitModule());
    }
    quint16 &first(int userPort)
    {
        return PortWord::firstWord(state.portWords, chipPort(userPort));
    }
    quint16 &second(int userPort)
    {
        return PortWord::secondWord(state.portWords, chipPort(userPort));
    }

    PropertiesDialog &open()
    {
        form = std::make_unique<PropertiesDialog>(state, UiServices{prompter, files, dialogs});
        return *form;
    }
    PortPage &page() { return *form->portPage; }

    bool click(const QStringList &names) { return clickButtons(*form, names); }
};
