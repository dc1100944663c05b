#pragma once

class QWidget;
class TProgramContext;

// The main window's Program menu items that show the program or lead out
// of it: the about box, the help text, a mail to the project and its web
// page. Whatever the desktop cannot open is said in a box.
void aboutClick(TProgramContext& context, QWidget* owner);
void pomocClick(TProgramContext& context);
void mailautClick(TProgramContext& context);
void wwwautClick(TProgramContext& context);
