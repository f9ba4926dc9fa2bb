#pragma once
// The "About Zentiq" window: the version, the product's lettering, the maker's banner, name, web
// link and copyright paragraph on its About page, usage tips on its Tips page. Created once,
// hidden and shown again; ShowPage is the one way in for both commands that open it.
#include <string>

#include "controls/JstLabel.h"
#include "toolkit/ComCtrls.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Forms.h"
#include "toolkit/StdCtrls.h"

namespace zq {

class TForm3 : public TForm {
public:
    explicit TForm3(TComponent* owner);

    static constexpr int AboutPage = 0;
    static constexpr int TipsPage = 1;
    // Selects the page, then shows the box without modality (and brings it to the front when it
    // is shown already).
    void ShowPage(int pageIndex);

    TPageControl* PageControl1;
    TTabSheet* TabSheet1;
    TPanel* Panel1;
    TPanel* Panel2;
    TImage* Image1;
    TImage* Image2;
    TLabel* VersionLabel;
    TLabel* Label1;
    TLabel* Label3;
    TLabel* Label5;
    TJstLabel* CopyrightLabel;
    TTabSheet* TabSheet2;
    TMemo* Memo1;
    TButton* OKButton;

    void FormShow(TObject* sender);
    void OKButtonClick(TObject* sender);
    // Opens the sender's hint (an address) with the shell; senders that are not labels do nothing.
    void Label3Click(TObject* sender);

protected:
    void CreateParams(TCreateParams& params) override;

private:
    TLabel* AddLabel(const char* name, const std::string& caption, int top);
    TLabel* AddLink(const char* name, const std::string& caption, int top);
    // Places an automatically sized label in the middle of the panel.
    void CentreInPanel(TControl* control);
};

extern TForm3* Form3;

} // namespace zq
