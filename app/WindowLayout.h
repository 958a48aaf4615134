// The window's own frames: the logo, the two button frames of the left column,
// the main panel the pages sit in, and the shared reply panes.
#pragma once

class QWidget;
class TextPane;
class ReceivedPane;

struct WindowFrames {
    QWidget* mainPanel = nullptr;          // "mainpage": holds the pages and the reply panes
    ReceivedPane* receivedPane = nullptr;  // RichTextBox2
    TextPane* analysisPane = nullptr;      // RichTextBox3
};

// The window's background, font and left-column frames around the serial panel.
void buildWindowBackground(QWidget* window);
void buildLogoFrame(QWidget* window);
void buildButtonFrames(QWidget* window);
QWidget* buildMainPanel(QWidget* window);
// The reply panes, after the pages so that they follow them in tab order.
void buildReplyPanes(QWidget* mainPanel, WindowFrames& frames);
