// The icon data file Kestrovar.dat: one image list in the common-controls stream format, the
// icons of the used items in ascending index order, paired with the items by position. An item
// that had no icon when the file was written is represented by a blank placeholder image.
#pragma once

#include "framework/handles.h"

#include <string>
#include <vector>

// Where a read of the data file stopped; the codes appear in the failure message.
enum DataFileStep : int {
    kDataFileReadOk = 0,
    kDataFileOpen = 1,           // open the file for reading
    kDataFilePrepareStream = 2,  // find its size and prepare the stream
    kDataFileReadList = 3,       // read, check and decode the image list
    kDataFileCloseFile = 5,      // close the file after the list was read
};

struct StoredImages {
    UniqueImageList list;     // none when no list could be read
    std::vector<bool> blank;  // per image: the placeholder of an item that had no icon
    int failedStep = kDataFileReadOk;

    int Count() const { return static_cast<int>(blank.size()); }
};

// Reads the image list of the data file at path. A file that is malformed, truncated or claims
// more than it holds is refused before the platform reader sees it (failedStep 3, no list).
StoredImages ReadDataFile(const std::string& path);

// Writes images to path through a temporary file in the same folder that replaces path only
// once it is completely written, so a failed or interrupted save leaves the old file intact.
bool WriteDataFile(const std::string& path, HIMAGELIST images);

// Appends a colourless, fully transparent image: the placeholder of an item without icon.
bool AppendBlankImage(HIMAGELIST images);

// One image of a data file: an icon, or an image of another image list (that of the data file
// read at start) copied as it is; neither stands for a placeholder. Not owned.
struct DataFileImage {
    HICON icon = nullptr;
    HIMAGELIST list = nullptr;
    int index = -1;

    explicit operator bool() const { return icon || list; }
};

// The image list a data file holds for images in item order, a placeholder for each empty one.
// It is sized for all of them at once: grown an image at a time, ten thousand icons would copy
// the list thousands of times. None when an image cannot be added.
UniqueImageList DataFileImagesOf(const std::vector<DataFileImage>& images, int iconSize);
UniqueImageList DataFileImagesOf(const std::vector<HICON>& icons, int iconSize);

// The full path of the data file: "Kestrovar\Kestrovar.dat" in the user's application-data
// folder (the folder is created when missing). Empty when the path would not fit MAX_PATH,
// which callers treat as a missing file.
std::string DataFilePath();
// The same below a given folder (an empty folder gives "\Kestrovar\Kestrovar.dat").
std::string DataFilePathIn(const std::string& appDataFolder);

// "<user>.dataの読込みに失敗しました。 Code = <step>"
std::string DataFileReadFailureMessage(const std::string& userName, int step);
