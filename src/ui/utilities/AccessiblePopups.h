#pragma once
// Screen readers find the program's pop-up windows (the clock's menu above all) in its accessibility
// tree. The toolkit leaves pop-ups out of the application's children, announcing only the menus of
// its own menu widget; the clock's menu is a pop-up of its own making and would not be found at all.
namespace tavrin {

// Lists every shown top-level window, pop-ups included, under the application. Call once, after the
// application object exists.
void includePopupsInAccessibilityTree();

}  // namespace tavrin
