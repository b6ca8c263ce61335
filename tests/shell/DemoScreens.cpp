#include "DemoScreens.h"

#include <fstream>

#include "graphics/DrawingContext.h"
#include "graphics/PngEncoder.h"
#include "ui/Application.h"
#include "ui/BarButtonItem.h"
#include "ui/Button.h"
#include "ui/DatePicker.h"
#include "ui/ImagePickerController.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/NavigationController.h"
#include "ui/ScrollView.h"
#include "ui/SegmentedControl.h"
#include "ui/TabBarController.h"
#include "ui/TableViewController.h"
#include "ui/TextField.h"

namespace kinetra::testing {

namespace {

std::vector<std::uint8_t> pngOf(int width, int height, Rgba colour) {
  auto picture = Picture::filled(width, height, colour);
  if (!picture.ok()) return {};
  auto bytes = encodePng(*picture);
  return bytes.ok() ? *bytes : std::vector<std::uint8_t>();
}

void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::unique_ptr<Label> makeLabel(Rect frame, std::string text) {
  auto label = std::make_unique<Label>(frame);
  label->setText(std::move(text));
  label->setBackgroundColor(Color::clearColor());
  return label;
}

// A line graph of a few points, drawn by the process like the real graph.
class SparklineView : public View {
 public:
  explicit SparklineView(Rect frame) : View(frame) { setBackgroundColor(Color::whiteColor()); }
  std::string kind() const override { return "view"; }
  bool drawsContent() const override { return true; }
  void drawRect(DrawingContext& context, Rect rect) override {
    context.setRGBFillColor(0.9, 0.95, 1, 1);
    context.fillRect(rect);
    context.setRGBStrokeColor(0.1, 0.3, 0.8, 1);
    context.setLineWidth(2);
    const double values[] = {0.2, 0.5, 0.4, 0.8, 0.7 + 0.02 * level};
    for (int i = 0; i < 5; ++i) {
      const double x = rect.width * (0.1 + 0.2 * i);
      const double y = rect.height * (1 - values[i]);
      if (i == 0) {
        context.moveToPoint(x, y);
      } else {
        context.addLineToPoint(x, y);
      }
    }
    context.strokePath();
  }
  int level = 0;
};

class DetailScreen : public ViewController {
 public:
  explicit DetailScreen(std::string text) {
    setTitle(text);
    auto root = std::make_unique<View>(Rect{0, 0, 320, 367});
    root->setBackgroundColor(Color::whiteColor());
    label = &root->addSubview(makeLabel({10, 10, 300, 30}, "Detail of " + text));
    graph = &root->addSubview(std::make_unique<SparklineView>(Rect{10, 50, 300, 150}));
    auto& segments = root->addSubview(std::make_unique<SegmentedControl>(
        std::vector<std::string>{"Week", "Month", "Year"}, Rect{10, 220, 300, 30}));
    segments.setSelectedSegmentIndex(0);
    segments.addTarget(
        [this](Control& sender) {
          const int chosen = dynamic_cast<SegmentedControl&>(sender).selectedSegmentIndex();
          graph->level = chosen;
          graph->setNeedsDisplay();
          label->setText("Range " + std::to_string(chosen));
        },
        ControlEvent::kValueChanged);
    setView(std::move(root));
  }
  Label* label = nullptr;
  SparklineView* graph = nullptr;
};

}  // namespace

struct DemoScreens::Screens : TableViewController {
  Screens(const ResourceBundle& b, const DocumentsDirectory& d, int rows)
      : bundle(b), documents(d), navigation(*this) {
    for (int i = 0; i < rows; ++i) {
      const char letter = static_cast<char>('A' + i % 26);
      items[static_cast<std::size_t>(letter - 'A')].push_back(std::string(1, letter) +
                                                              " exercise " + std::to_string(i));
    }
    setTitle("Exercises");
    edit = std::make_unique<BarButtonItem>(BarButtonSystemItem::kEdit, [this](BarButtonItem& item) {
      const bool editing = !tableView().isEditing();
      tableView().setEditing(editing, Animated::Yes);
      item.setTitle(editing ? "Done" : "Edit");
    });
    edit->setTitle("Edit");
    navigationItem().setRightBarButtonItem(edit.get());
    buildForm();
    buildPictures();
    buildFlip();
    navigation.tabBarItem().title = "List";
    formNavigation.tabBarItem().title = "Form";
    const Image icon = Image::named(bundle, "Icon.png");
    for (ViewController* screen :
         std::initializer_list<ViewController*>{&navigation, &formNavigation, &pictures, &flip}) {
      screen->tabBarItem().image = icon;
    }
    tabs.setViewControllers({&navigation, &formNavigation, &pictures, &flip});
  }

  // ---- The list
  int numberOfSectionsInTableView(TableView&) override { return 26; }
  int numberOfRowsInSection(TableView&, int section) override {
    return static_cast<int>(items[static_cast<std::size_t>(section)].size());
  }
  std::optional<std::string> titleForHeaderInSection(TableView&, int section) override {
    return std::string(1, static_cast<char>('A' + section));
  }
  std::vector<std::string> sectionIndexTitlesForTableView(TableView&) override {
    std::vector<std::string> titles;
    for (char c = 'A'; c <= 'Z'; ++c) titles.emplace_back(1, c);
    return titles;
  }
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& table, IndexPath i) override {
    auto cell = table.dequeueReusableCellWithIdentifier("row");
    if (!cell) cell = std::make_unique<TableViewCell>(Rect{}, "row");
    cell->setText(items[static_cast<std::size_t>(i.section)][static_cast<std::size_t>(i.row)]);
    cell->setAccessoryType(i.row % 5 == 0 ? TableViewCellAccessoryType::kDetailDisclosureButton
                                          : TableViewCellAccessoryType::kDisclosureIndicator);
    return cell;
  }
  bool canMoveRowAtIndexPath(TableView&, IndexPath) override { return true; }
  void moveRowAtIndexPath(TableView&, IndexPath from, IndexPath to) override {
    auto& source = items[static_cast<std::size_t>(from.section)];
    std::string moved = source[static_cast<std::size_t>(from.row)];
    source.erase(source.begin() + from.row);
    auto& target = items[static_cast<std::size_t>(to.section)];
    target.insert(target.begin() + std::min<int>(to.row, static_cast<int>(target.size())), moved);
    status = "Moved " + moved;
  }
  bool implementsCommitEditingStyle() const override { return true; }
  void commitEditingStyle(TableView& table, TableViewCellEditingStyle style, IndexPath i) override {
    if (style != TableViewCellEditingStyle::kDelete) return;
    auto& rows = items[static_cast<std::size_t>(i.section)];
    status = "Deleted " + rows[static_cast<std::size_t>(i.row)];
    rows.erase(rows.begin() + i.row);
    table.deleteRowsAtIndexPaths({i}, TableViewRowAnimation::kFade);
  }
  void didSelectRowAtIndexPath(TableView& table, IndexPath i) override {
    const std::string& text =
        items[static_cast<std::size_t>(i.section)][static_cast<std::size_t>(i.row)];
    status = "Selected " + text;
    table.deselectRowAtIndexPath(i, Animated::Yes);
    detail = std::make_unique<DetailScreen>(text);
    navigation.pushViewController(*detail, Animated::Yes);
  }
  void accessoryButtonTappedForRowWithIndexPath(TableView&, IndexPath i) override {
    status =
        "Accessory " + items[static_cast<std::size_t>(i.section)][static_cast<std::size_t>(i.row)];
  }

  // ---- The form
  void buildForm() {
    form.setTitle("Form");
    auto root = std::make_unique<View>(Rect{0, 0, 320, 411});
    root->setBackgroundColor(Color::groupTableViewBackgroundColor());
    formStatus = &root->addSubview(makeLabel({10, 5, 300, 24}, "Ready"));
    formStatus->setTextAlignment(TextAlignment::kCenter);
    auto field = [&](double y, std::string placeholder, KeyboardType keyboard) -> TextField& {
      auto& f = root->addSubview(std::make_unique<TextField>(Rect{10, y, 300, 31}));
      f.setPlaceholder(std::move(placeholder));
      f.setKeyboardType(keyboard);
      f.setBorderStyle(TextBorderStyle::kRoundedRect);
      f.setBackgroundColor(Color::whiteColor());
      f.addTarget(
          [this](Control& sender) {
            formStatus->setText("Typed " + dynamic_cast<TextField&>(sender).text());
          },
          ControlEvent::kEditingChanged);
      return f;
    };
    weight = &field(35, "Weight", KeyboardType::kNumberPad);
    reps = &field(72, "Reps", KeyboardType::kNumbersAndPunctuation);
    email = &field(109, "E-mail", KeyboardType::kEmailAddress);
    email->setReturnKeyType(ReturnKeyType::kDone);
    email->setDelegate(&returnCatcher);
    returnCatcher.onReturn = [this] { formStatus->setText("Returned " + email->text()); };
    auto& units = root->addSubview(std::make_unique<SegmentedControl>(
        std::vector<std::string>{"kg", "lb"}, Rect{10, 148, 300, 30}));
    units.setSelectedSegmentIndex(0);
    units.addTarget(
        [this](Control& sender) {
          formStatus->setText(
              std::string("Units ") +
              (dynamic_cast<SegmentedControl&>(sender).selectedSegmentIndex() == 1 ? "lb" : "kg"));
        },
        ControlEvent::kValueChanged);
    auto& date = root->addSubview(std::make_unique<DatePicker>(Rect{10, 186, 300, 40}));
    date.setDate(Date(1700000000));
    date.addTarget(
        [this](Control& sender) {
          formStatus->setText(
              "Picked " + std::to_string(static_cast<long long>(
                              dynamic_cast<DatePicker&>(sender).date().timeIntervalSince1970())));
        },
        ControlEvent::kValueChanged);
    auto photo = Button::buttonWithType(ButtonType::kRoundedRect);
    photo->setFrame({10, 236, 300, 37});
    photo->setTitle("Choose Photo", ControlState::kNormal);
    photo->addTarget([this](Control&) { formNavigation.pushViewController(picker, Animated::Yes); },
                     ControlEvent::kTouchUpInside);
    root->addSubview(std::move(photo));
    chosen = &root->addSubview(std::make_unique<ImageView>(Rect{10, 283, 80, 80}));
    form.setView(std::move(root));
    picker.setDelegate(&pickerDelegate);
    pickerDelegate.owner = this;
  }

  struct ReturnCatcher : TextFieldDelegate {
    bool textFieldShouldReturn(TextField& field) override {
      field.resignFirstResponder();
      if (onReturn) onReturn();
      return true;
    }
    std::function<void()> onReturn;
  };
  struct PickerDelegate : ImagePickerControllerDelegate {
    void didFinishPickingImage(ImagePickerController&, const Image& image) override {
      owner->chosen->setImage(image);
      owner->formStatus->setText("Photo " + std::to_string(static_cast<int>(image.size().width)) +
                                 "x" + std::to_string(static_cast<int>(image.size().height)));
      owner->formNavigation.popViewControllerAnimated(Animated::Yes);
    }
    void imagePickerControllerDidCancel(ImagePickerController&) override {
      owner->formStatus->setText("Cancelled");
      owner->formNavigation.popViewControllerAnimated(Animated::Yes);
    }
    Screens* owner = nullptr;
  };

  // ---- Pictures
  void buildPictures() {
    pictures.setTitle("Pictures");
    auto root = std::make_unique<View>(Rect{0, 0, 320, 411});
    root->setBackgroundColor(Color::whiteColor());
    auto& fromBundle = root->addSubview(std::make_unique<ImageView>(Rect{10, 10, 100, 100}));
    fromBundle.setImage(Image::named(bundle, "Chest.jpg"));
    auto& fromDocuments = root->addSubview(std::make_unique<ImageView>(Rect{120, 10, 100, 100}));
    if (auto path = documents.pathForFile("photo.jpg"); path.ok()) {
      fromDocuments.setImage(Image::contentsOfFile(*path));
    }
    pageStatus = &root->addSubview(makeLabel({10, 120, 300, 24}, "Page 0"));
    auto& pager = root->addSubview(std::make_unique<ScrollView>(Rect{10, 150, 300, 200}));
    pager.setPagingEnabled(true);
    pager.setContentSize({900, 200});
    pager.setDelegate(&pageWatcher);
    pageWatcher.owner = this;
    const Color colours[] = {Color::rgba(1, 0.8, 0.8, 1), Color::rgba(0.8, 1, 0.8, 1),
                             Color::rgba(0.8, 0.8, 1, 1)};
    for (int page = 0; page < 3; ++page) {
      auto& panel = pager.addSubview(std::make_unique<View>(Rect{300.0 * page, 0, 300, 200}));
      panel.setBackgroundColor(colours[page]);
      panel.addSubview(makeLabel({20, 80, 260, 30}, "Panel " + std::to_string(page + 1)));
    }
    pictures.setView(std::move(root));
  }
  struct PageWatcher : ScrollViewDelegate {
    void scrollViewDidEndDecelerating(ScrollView& s) override { update(s); }
    void scrollViewDidEndDragging(ScrollView& s, bool decelerate) override {
      if (!decelerate) update(s);
    }
    void update(ScrollView& s) {
      owner->pageStatus->setText("Page " +
                                 std::to_string(static_cast<int>(s.contentOffset().x / 300 + 0.5)));
    }
    Screens* owner = nullptr;
  };

  // ---- Flip
  void buildFlip() {
    flip.setTitle("Flip");
    auto root = std::make_unique<View>(Rect{0, 0, 320, 411});
    root->setBackgroundColor(Color::darkGrayColor());
    card = &root->addSubview(std::make_unique<View>(Rect{40, 40, 240, 240}));
    front = &card->addSubview(std::make_unique<View>(Rect{0, 0, 240, 240}));
    front->setBackgroundColor(Color::whiteColor());
    front->addSubview(makeLabel({20, 100, 200, 30}, "Front"));
    back = &card->addSubview(std::make_unique<View>(Rect{0, 0, 240, 240}));
    back->setBackgroundColor(Color::rgba(1, 0.9, 0.6, 1));
    back->addSubview(makeLabel({20, 100, 200, 30}, "Back"));
    back->setHidden(true);
    auto turn = Button::buttonWithType(ButtonType::kRoundedRect);
    turn->setFrame({40, 300, 110, 37});
    turn->setTitle("Turn", ControlState::kNormal);
    turn->addTarget(
        [this](Control&) {
          View::beginAnimations("flip");
          View::setAnimationDuration(0.75);
          const bool showBack = back->isHidden();
          View::setAnimationTransition(
              showBack ? AnimationTransition::kFlipFromRight : AnimationTransition::kFlipFromLeft,
              *card);
          back->setHidden(!showBack);
          front->setHidden(showBack);
          View::commitAnimations();
        },
        ControlEvent::kTouchUpInside);
    root->addSubview(std::move(turn));
    auto fade = Button::buttonWithType(ButtonType::kRoundedRect);
    fade->setFrame({170, 300, 110, 37});
    fade->setTitle("Fade", ControlState::kNormal);
    fade->addTarget(
        [this](Control&) {
          View::beginAnimations("fade");
          card->setAlpha(card->alpha() < 1 ? 1 : 0.3);
          View::commitAnimations();
        },
        ControlEvent::kTouchUpInside);
    root->addSubview(std::move(fade));
    flip.setView(std::move(root));
  }

  const ResourceBundle& bundle;
  const DocumentsDirectory& documents;
  std::vector<std::string> items[26];
  std::string status = "Ready";
  std::unique_ptr<BarButtonItem> edit;
  std::unique_ptr<DetailScreen> detail;
  NavigationController navigation;
  ViewController form;
  NavigationController formNavigation{form};
  ImagePickerController picker;
  ReturnCatcher returnCatcher;
  PickerDelegate pickerDelegate;
  Label* formStatus = nullptr;
  TextField* weight = nullptr;
  TextField* reps = nullptr;
  TextField* email = nullptr;
  ImageView* chosen = nullptr;
  ViewController pictures;
  PageWatcher pageWatcher;
  Label* pageStatus = nullptr;
  ViewController flip;
  View* card = nullptr;
  View* front = nullptr;
  View* back = nullptr;
  TabBarController tabs;
};

DemoScreens::DemoScreens(const ResourceBundle& bundle, const DocumentsDirectory& documents,
                         int rows)
    : screens_(std::make_unique<Screens>(bundle, documents, rows)) {}

DemoScreens::~DemoScreens() = default;

void DemoScreens::applicationDidFinishLaunching(Application& application) {
  application.window().addSubview(screens_->tabs.view());
}

std::string DemoScreens::statusText() const { return screens_->status; }

int DemoScreens::rowCount() const {
  int n = 0;
  for (const auto& section : screens_->items) n += static_cast<int>(section.size());
  return n;
}

void DemoScreens::writeDemoFiles(const std::filesystem::path& bundle,
                                 const std::filesystem::path& documents) {
  std::filesystem::create_directories(bundle);
  std::filesystem::create_directories(documents);
  writeFile(bundle / "Chest.jpg", pngOf(60, 40, {200, 80, 60, 255}));
  writeFile(bundle / "Icon.png", pngOf(57, 57, {30, 90, 200, 255}));
  writeFile(documents / "photo.jpg", pngOf(32, 24, {40, 160, 90, 255}));
  const std::string plist =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict/></plist>\n";
  writeFile(documents / "Kinetra_Log.plist", {plist.begin(), plist.end()});
  const std::string notes = "private notes\n";
  writeFile(documents / "notes.txt", {notes.begin(), notes.end()});
}

}  // namespace kinetra::testing
