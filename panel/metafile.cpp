// metafile.cpp: plays a card picture from the module's resources into a device context.
#include "panel/tool.h"

#include "artwork_sizes.h"
#include "resources/module_instance.h"
#include "resources/resource_ids.h"

static_assert(ArtworkSizeCount == IDA_COUNT, "one size for every picture");

BOOL PlayMetafileResource(HDC dc, int artworkId)
{
    if (artworkId < IDA_FIRST || artworkId > IDA_LAST)
        return 0;    // no size for it: never hand the playback a guessed length
    HRSRC found = FindResourceA(moduleInstance, MAKEINTRESOURCEA(artworkId), "MetaFile");
    if (!found)
        return 0;
    HGLOBAL loaded = LoadResource(moduleInstance, found);
    if (!loaded)
        return 0;
    const BYTE *bytes = static_cast<const BYTE *>(LockResource(loaded));
    BOOL played = 0;
    // The table's size, not the resource's: the table and the artwork are generated together.
    HMETAFILE metafile = bytes ? SetMetaFileBitsEx(ArtworkSizes[artworkId - IDA_FIRST], bytes) : nullptr;
    if (metafile) {
        played = PlayMetaFile(dc, metafile);
        DeleteMetaFile(metafile);
    }
    FreeResource(loaded);
    return played;
}

BOOL PlayArtworkInto(HDC dc, int artworkId, int x, int y, int width, int height)
{
    // Every picture is drawn on a 1000 x 1000 frame.
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, 1000, 1000, nullptr);
    SetViewportExtEx(dc, width, height, nullptr);
    SetViewportOrgEx(dc, x, y, nullptr);
    BOOL played = PlayMetafileResource(dc, artworkId);
    SetMapMode(dc, MM_TEXT);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    return played;
}
