// The metafile player: libwmf's lite player plays the pre-scanned bytes, and the device
// layer of this folder (shapes, text, bitmaps) turns what it draws into a display list
// in twips, with the device context kept from the records (wmfstate.h).
#include "platform/metafile.h"

#include "wmfdevice.h"

#include <QGuiApplication>

namespace velmora {

namespace metafile {

namespace {

constexpr qint64 kPlayBudgetMs = 5000;

// Twips per logical unit of the fixed mapping modes; y runs up in the metric ones.
double unitTwips(quint16 mode)
{
    switch (mode) {
    case kMapLoMetric:
        return 1440.0 / 254;
    case kMapHiMetric:
        return 1440.0 / 2540;
    case kMapLoEnglish:
        return 14.4;
    case kMapHiEnglish:
        return 1.44;
    case kMapTwips:
        return 1;
    default:
        return 15; // a screen pixel
    }
}

bool yRunsUp(quint16 mode)
{
    return mode >= kMapLoMetric && mode <= kMapTwips;
}

// libwmf's own device units per logical unit, signs included.
double pixelWidth(const wmfDC *dc)
{
    if (dc->map_mode != kMapIsotropic && dc->map_mode != kMapAnisotropic && dc->Window.width < 0)
        return -dc->pixel_width;
    return dc->pixel_width;
}

double pixelHeight(const wmfDC *dc)
{
    if (dc->map_mode != kMapIsotropic && dc->map_mode != kMapAnisotropic && dc->Window.height < 0)
        return -dc->pixel_height;
    return dc->pixel_height;
}

} // namespace

Player &playerOf(wmfAPI *api)
{
    return *static_cast<Player *>(api->device_data);
}

int currentRecord(wmfAPI *api)
{
    const long position = api->bbuf.tell ? api->bbuf.tell(api->buffer_data) : -1;
    return position < 0 ? -1 : playerOf(api).scan.recordEndingAt(position);
}

const DcState &stateOf(wmfAPI *api)
{
    Player &player = playerOf(api);
    const int index = currentRecord(api);
    return player.dc.at(index < 0 ? int(player.scan.records.size()) : index);
}

namespace {

bool spendOn(wmfAPI *api, double cost)
{
    Budget &budget = playerOf(api).budget;
    if (budget.exceeded || cost > budget.left) {
        budget.exceeded = true;
        return false;
    }
    budget.left -= cost;
    return true;
}

} // namespace

bool spend(wmfAPI *api, const ShapeItem &item)
{
    return spendOn(api, costOf(item));
}

bool spend(wmfAPI *api, const TextItem &item)
{
    return spendOn(api, costOf(item));
}

bool spend(wmfAPI *api, const ImageItem &item)
{
    return spendOn(api, costOf(item));
}

bool spend(wmfAPI *api, const QImage &decoded)
{
    return spendOn(api, costOf(decoded));
}

// Back from device units to logical ones with the DC's pixel size and window origin,
// then onto the picture's frame: the window the file set (or, for a placeable file that
// sets none, the frame of its header) fills the frame, as when Windows plays a
// placeable file into its rectangle. A plain file that sets no window keeps the
// physical units of its mapping mode and is framed by its drawing afterwards.
Mapping mappingFor(wmfAPI *api, const wmfDC *dc)
{
    const Player &player = playerOf(api);
    const Scan &scan = player.scan;
    Mapping m;
    m.pixelWidth = pixelWidth(dc);
    m.pixelHeight = pixelHeight(dc);
    if (!std::isfinite(m.pixelWidth) || !std::isfinite(m.pixelHeight) || m.pixelWidth == 0 || m.pixelHeight == 0)
        return m;
    int index = currentRecord(api);
    if (index < 0)
        index = int(scan.records.size());
    const bool orgSet = scan.firstWindowOrgRecord >= 0 && index > scan.firstWindowOrgRecord;
    const bool extSet = scan.firstWindowExtRecord >= 0 && index > scan.firstWindowExtRecord;
    if (player.windowFrame) {
        QPointF org(dc->Window.Ox, dc->Window.Oy);
        QSizeF ext(dc->Window.width, dc->Window.height);
        // A placeable file starts with its header's frame as the window; libwmf starts
        // with an origin of 0 and an extent of 1024, which offsets and scalings then move.
        if (scan.placeable && !orgSet)
            org += QPointF(scan.left, scan.top);
        if (scan.placeable && !extSet)
            ext = QSizeF((scan.right - scan.left) * ext.width() / 1024, (scan.bottom - scan.top) * ext.height() / 1024);
        if (ext.width() == 0 || ext.height() == 0)
            return m;
        double kx = player.frame.width() / ext.width();
        double ky = player.frame.height() / ext.height();
        if (dc->map_mode == kMapIsotropic) {
            const double k = std::min(std::abs(kx), std::abs(ky));
            kx = std::copysign(k, kx);
            ky = std::copysign(k, ky);
        }
        m.ax = kx / m.pixelWidth;
        m.bx = (dc->Window.Ox - org.x()) * kx;
        m.ay = ky / m.pixelHeight;
        m.by = (dc->Window.Oy - org.y()) * ky;
    } else {
        const double unit = unitTwips(dc->map_mode);
        m.ax = unit / m.pixelWidth;
        m.ay = (yRunsUp(dc->map_mode) ? -unit : unit) / m.pixelHeight;
    }
    m.valid = std::isfinite(m.ax) && std::isfinite(m.ay) && std::isfinite(m.bx) && std::isfinite(m.by);
    return m;
}

namespace {

void setUpDevice(wmfAPI *api)
{
    auto *f = static_cast<wmfFunctionReference *>(api->function_reference);
    setUpShapes(f);
    setUpBitmaps(f);
}

// Called after every record while playing: a page that takes this long is not one.
// Stops too once the page's budget is spent: nothing more would be kept.
int keepPlaying(void *context, float)
{
    const Player &player = *static_cast<Player *>(context);
    return player.budget.exceeded || player.clock.elapsed() > kPlayBudgetMs ? 1 : 0;
}

QString reasonOf(wmf_error_t error)
{
    switch (error) {
    case wmf_E_InsMem:
        return QStringLiteral("not enough memory to play it");
    case wmf_E_EOF:
        return QStringLiteral("the metafile is cut short");
    case wmf_E_UserExit:
        return QStringLiteral("the metafile takes too long to play");
    case wmf_E_BadFormat:
        return QStringLiteral("the metafile is damaged");
    default:
        return QStringLiteral("the metafile player failed (error %1)").arg(int(error));
    }
}

// Every path out of here ends the player and frees what it allocated.
struct ApiGuard {
    wmfAPI *api = nullptr;
    ApiGuard() = default;
    ApiGuard(const ApiGuard &) = delete;
    ApiGuard &operator=(const ApiGuard &) = delete;
    ~ApiGuard()
    {
        if (api)
            wmf_lite_destroy(api);
    }
};

// Plays the file into `player.list`; an empty text on success.
QString play(Scan &scan, Player &player)
{
    wmfAPI_Options options{};
    options.function = setUpDevice;
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    ApiGuard guard;
    if (wmf_lite_create(&guard.api, flags, &options) != wmf_E_None || !guard.api)
        return QStringLiteral("the metafile player could not start");
    wmfAPI *api = guard.api;
    api->device_data = &player;
    auto *fonts = static_cast<wmfFontData *>(wmf_malloc(api, sizeof(wmfFontData)));
    if (!fonts)
        return reasonOf(api->err);
    setUpText(static_cast<wmfFunctionReference *>(api->function_reference), fonts);
    fonts->user_data = &player;
    api->font_data = fonts;
    if (wmf_mem_open(api, reinterpret_cast<unsigned char *>(scan.bytes.data()), long(scan.bytes.size())) != wmf_E_None)
        return reasonOf(api->err);
    wmfD_Rect bounds{};
    if (wmf_scan(api, 0, &bounds) != wmf_E_None)
        return reasonOf(api->err);
    player.clock.start();
    wmf_status_function(api, &player, keepPlaying);
    player.list.items.clear(); // the scan draws nothing, but be sure
    player.playing = true;
    if (wmf_play(api, 0, &bounds) != wmf_E_None && !(api->err == wmf_E_UserExit && player.budget.exceeded))
        return reasonOf(api->err);
    wmf_mem_close(api);
    return {};
}

} // namespace

} // namespace metafile

using namespace metafile;

MetafileResult loadMetafile(const QByteArray &bytes, const QString &source)
{
    const auto failure = [&source](const QString &reason) {
        return MetafileResult{Picture(), QStringLiteral("Unreadable picture %1: %2").arg(source, reason)};
    };
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return failure(QStringLiteral("metafiles need the application's fonts, and there is no application"));
    Scan scan = scanMetafile(bytes);
    if (!scan.error.isEmpty())
        return failure(scan.error);

    Player player(scan);
    if (scan.placeable) {
        player.windowFrame = true;
        player.frame =
            QSizeF(std::abs(scan.right - scan.left), std::abs(scan.bottom - scan.top)) * 1440.0 / scan.unitsPerInch;
    } else if (scan.windowExtBeforeDrawing) {
        const QSize ext = scan.pageExtent;
        double unit = unitTwips(scan.pageMapMode);
        if (scan.pageMapMode == kMapIsotropic || scan.pageMapMode == kMapAnisotropic)
            unit = std::abs(qint64(ext.width()) * ext.height()) >= qint64(1024) * 1024 ? 1 : 20;
        player.windowFrame = true;
        player.frame = QSizeF(std::abs(ext.width()), std::abs(ext.height())) * unit;
    }
    const QString problem = play(scan, player);
    if (!problem.isEmpty())
        return failure(problem);

    auto list = std::make_shared<DisplayList>(std::move(player.list));
    if (player.windowFrame) {
        list->size = player.frame;
    } else {
        const QRectF drawn = list->bounds();
        list->translate(-drawn.topLeft());
        list->size = drawn.size();
    }
    if (!(list->size.width() > 0 && list->size.height() > 0))
        return failure(QStringLiteral("the picture has no size"));
    if (list->size.width() > kMaxSideTwips || list->size.height() > kMaxSideTwips)
        return failure(QStringLiteral("the picture is larger than any page"));
    const QSizeF size = list->size;
    const QString words = list->readingText();
    // Images share their pixels with the list; the screen rendering is four bytes a
    // pixel at the screen's scale (a twip is 1/15 of a pixel).
    const double screenPixels = std::min(size.width() * size.height() / (15.0 * 15.0), double(kMaxKeptPixels));
    const qint64 memory = list->bytes() + qint64(screenPixels) * 4;
    Picture picture = Picture::fromDrawer(size, drawerFor(std::move(list)), source);
    picture.setText(words);
    return {picture, QString(), memory};
}

} // namespace velmora
