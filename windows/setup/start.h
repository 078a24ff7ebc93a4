#pragma once
// The setup window: the program's main window, on which the presentation is prepared.
#include "kit/window.h"

class start : public fw::Window {
    Q_OBJECT
  public:
    start();
    ~start() override;
    static start* instance() { return fw::Single<start>::get(); }

    void Event_Open() override;
    bool Event_CancelClose() override;

    // Handlers, bound to user actions.
    bool rec_schermo_MouseDown(int x, int y);
    void Slider1_ValueChanged();
    void Slider2_ValueChanged();
    bool color_t_MouseDown(int index, int x, int y);
    void Canvasl_MouseEnter(int index);
    void Canvasl_MouseExit(int index);
    bool Canvasl_MouseDown(int index, int x, int y);
    void PushButton1_Action();
    void bottone_Action(int index);
    void bottone1_Action();

    // Controls, in creation order.
    fw::ControlArray<fw::Rectangle> Rectsel;
    fw::Rectangle* rec_schermo = nullptr;
    fw::Rectangle* rec_min = nullptr;
    fw::Slider* Slider1 = nullptr;
    fw::StaticText* StaticText1 = nullptr;
    fw::StaticText* StaticText2 = nullptr;
    fw::PushButton* PushButton1 = nullptr;
    fw::ControlArray<fw::Canvas> Canvasl;
    fw::StaticText* testo_folder = nullptr;
    fw::StaticText* StaticText3 = nullptr;
    fw::StaticText* StaticText4 = nullptr;
    fw::StaticText* StaticText5 = nullptr;
    fw::StaticText* StaticText6 = nullptr;
    fw::ControlArray<fw::PushButton> bottone;
    fw::StaticText* StaticText7 = nullptr;
    fw::StaticText* StaticText8 = nullptr;
    fw::StaticText* testo_scr = nullptr;
    fw::StaticText* testo_min = nullptr;
    fw::Line* Line1 = nullptr;
    fw::ControlArray<fw::Rectangle> color_t;
    fw::ControlArray<fw::Rectangle> color_s;
    fw::StaticText* StaticText9 = nullptr;
    fw::Separator* Separator1 = nullptr;
    fw::CheckBox* CheckBox1 = nullptr;
    fw::CheckBox* CheckBox2 = nullptr;
    fw::StaticText* color_o = nullptr;
    fw::StaticText* color_d = nullptr;
    fw::Rectangle* color_r = nullptr;
    fw::Slider* Slider2 = nullptr;
    fw::PushButton* bottone1 = nullptr;

    // Enables what needs a loaded presentation and shows its folder and picture count.
    void showLoadedFolder(const QString& path, int count);
    // Turns the strip size into pixels and hides the window, or refuses with a beep when
    // there is nothing sound to present (forStrip: in a strip of thumbnails).
    bool takeStripPixels(bool forStrip);
    // Back from a presentation or the notes editor: the strip size in percent again, and the
    // window in front.
    void comeBack();
    // The main screen has changed (another monitor chosen, monitors plugged or moved): the
    // preview, the read-outs and the title show the new one, and the window moves onto it.
    void screenChanged();

  private:
    // The screen preview rec_schermo (and xtl..ybr) and the picture-area read-out, from the
    // main screen's size.
    void fitPreviewToScreen();
    bool screenPending_ = false;
};
