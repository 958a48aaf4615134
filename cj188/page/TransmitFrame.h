// The send sequence every request of both pages runs after the core has built
// its frame: the frame into the page's "Transmitted Data" pane,
// the failure prompt when the port is not connected, "Received Data" and
// "Data Analysis" emptied, the pane read back into bytes, and those bytes
// written to the port in one write.
#pragma once

#include <string>

class MainForm;
class TextPane;

// Sends the frame whose pane text is `framePaneText` ("FE FE FE 68 ... ", from
// the core's request operation) through `pane` (RichTextBox1 or RichTextBox4).
// TxCount grows only by the bytes an open port actually took: a request made
// while the port is closed shows the prompt and empties the panes, but counts
// nothing, since nothing reached the line.
void TransmitFrame(MainForm& form, TextPane& pane, const std::string& framePaneText);
