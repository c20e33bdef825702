# brindelor_ui: the window and the entry
