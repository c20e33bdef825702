# brindelor_appearance: style manager, style, link labels, resources
