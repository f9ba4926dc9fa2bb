#pragma once
// The "About Zentiq" window: the version, the product's lettering, the maker's banner, name, web
// link and copyright paragraph on its About page, usage tips on its Tips page. Created once,
// hidden and shown again; ShowPage is the one way in for both commands that open it.
#include <string>

#include "controls/JustifiedLabel.h"
#include "toolkit/ComCtrls.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Forms.h"
#include "toolkit/StdCtrls.h"

namespace zq {

class TAboutForm : public TForm {
public:
    explicit TAboutForm(TComponent* owner);

    static constexpr int AboutPage = 0;
    static constexpr int TipsPage = 1;
    // Selects the page, then shows the box without modality (and brings it to the front when it
    // is shown already).
    void ShowPage(int pageIndex);

    TPageControl* Pages;
    TTabSheet* AboutSheet;
    TPanel* AboutPanel;
    TPanel* BannerPanel;
    TImage* BannerImage;
    TImage* LetteringImage;
    TLabel* VersionLabel;
    TLabel* FreewareLabel;
    TLabel* MakerLink;
    TLabel* AddressLink;
    TJustifiedLabel* CopyrightLabel;
    TTabSheet* TipsSheet;
    TMemo* TipsMemo;
    TButton* OkButton;

    void FormShow(TObject* sender);
    void OkButtonClick(TObject* sender);
    // Opens the sender's hint (an address) with the shell; senders other than the two links do
    // nothing.
    void LinkClick(TObject* sender);

protected:
    void CreateParams(TCreateParams& params) override;

private:
    TLabel* AddLabel(const std::string& caption, int top);
    TLabel* AddLink(const std::string& caption, int top);
    // Places an automatically sized label in the middle of the panel.
    void CentreInPanel(TControl* control);
};

extern TAboutForm* AboutForm;

} // namespace zq
