#pragma once

#include <wx/app.h>

namespace BrelkosPlayer {

class FormMain;

class BrelkosPlayerApp : public wxApp {
public:
    bool OnInit() override;

private:
    FormMain* m_formMain = nullptr;
};

} // namespace BrelkosPlayer
