#pragma once
// Names in the writing systems people use, for the tests of layout, drawing and the .doc.
// Every sample is a real name or greeting in its script; the comment gives it in Latin letters.
#include <QString>

#include <vector>

namespace worldscripts {

struct Sample {
    const char *script;
    QString text;
};

inline std::vector<Sample> samples()
{
    return {
        {"Latin", QStringLiteral("Zoë Ångström-Łukasiewicz")},
        {"Vietnamese", QStringLiteral("Nguyễn Thị Hồng Nhung")},                         // stacked diacritics
        {"Combining marks", QStringLiteral("Zoe\u0308 Ame\u0301lie Ch\u0327a\u0306")},    // decomposed accents
        {"Greek", QStringLiteral("Αθηνά Παπαδοπούλου")},
        {"Cyrillic", QStringLiteral("Наталья Иванова")},
        {"Armenian", QStringLiteral("Անահիտ Պետրոսյան")},
        {"Georgian", QStringLiteral("ნინო ბერიძე")},
        {"Hebrew", QStringLiteral("דוד כהן")},
        {"Arabic", QStringLiteral("محمد عبد الله")},
        {"Syriac", QStringLiteral("ܡܪܝܡ ܐܕܝ")},                                           // Maryam Addai
        {"Thaana", QStringLiteral("މުޙައްމަދު ނަޝީދު")},                                     // Muhammad Nasheed
        {"Devanagari", QStringLiteral("प्रिया शर्मा")},                                     // Priya Sharma
        {"Bengali", QStringLiteral("সুস্মিতা সেন")},                                        // Sushmita Sen
        {"Gurmukhi", QStringLiteral("ਗੁਰਪ੍ਰੀਤ ਸਿੰਘ")},                                        // Gurpreet Singh
        {"Gujarati", QStringLiteral("પ્રિયા પટેલ")},                                         // Priya Patel
        {"Odia", QStringLiteral("ପ୍ରିୟଙ୍କା ଦାସ")},                                          // Priyanka Das
        {"Tamil", QStringLiteral("முத்துலட்சுமி")},                                          // Muthulakshmi
        {"Telugu", QStringLiteral("శ్రీనివాస్ రావు")},                                      // Srinivas Rao
        {"Kannada", QStringLiteral("ಕೃಷ್ಣ ಗೌಡ")},                                           // Krishna Gowda
        {"Malayalam", QStringLiteral("ശ്രീകുമാർ നായർ")},                                    // Sreekumar Nair
        {"Sinhala", QStringLiteral("සුනිල් පෙරේරා")},                                        // Sunil Perera
        {"Ol Chiki", QStringLiteral("ᱥᱟᱱᱛᱟᱲᱤ")},                                           // Santali
        {"Meetei Mayek", QStringLiteral("ꯃꯅꯤꯄꯨꯔ")},                                         // Manipur
        {"Tibetan", QStringLiteral("བཀྲ་ཤིས་བདེ་ལེགས")},                                     // Tashi Delek
        {"Thai", QStringLiteral("สมชาย ใจดี")},                                             // Somchai Jaidee
        {"Lao", QStringLiteral("ສົມພອນ ແກ້ວມະນີ")},                                          // Somphone Keomany
        {"Khmer", QStringLiteral("សុខ សុភា")},                                              // Sok Sophea
        {"Myanmar", QStringLiteral("အောင်ဆန်းစုကြည်")},                                       // Aung San Suu Kyi
        {"Javanese", QStringLiteral("ꦱꦸꦒꦶꦪꦺꦴ")},                                            // Sugiyo
        {"Balinese", QStringLiteral("ᬓᬢᬸᬢ᭄")},                                               // Ketut
        {"Ethiopic", QStringLiteral("አበበ ቢቂላ")},                                            // Abebe Bikila
        {"N'Ko", QStringLiteral("ߡߊߡߊߘߎ߫ ߞߊ߲ߕߍ")},                                          // Mamadou Kanté
        {"Tifinagh", QStringLiteral("ⵎⴰⵙⵉⵏⵉⵙⴰ")},                                          // Masinissa
        {"Vai", QStringLiteral("ꕙꔤ ꕞꕌꔳ")},
        {"Adlam", QStringLiteral("𞤀𞤢𞤥𞤢𞤣𞤵")},                                              // Aamadu
        {"Mongolian", QStringLiteral("ᠪᠠᠲᠤ")},                                              // Batu
        {"Cherokee", QStringLiteral("ᏣᎳᎩ ᎠᏂᏴᏫ")},                                           // Tsalagi Aniyvwiya
        {"Canadian syllabics", QStringLiteral("ᐃᓄᒃᑎᑐᑦ")},                                    // Inuktitut
        {"Yi", QStringLiteral("ꆈꌠꁱꂷ")},
        {"Han", QStringLiteral("王秀英 李明")},
        {"Kana", QStringLiteral("やまだ サクラ")},
        {"Hangul", QStringLiteral("김민준")},
        {"Emoji", QStringLiteral("👩‍👩‍👧 🏳️‍🌈 👍🏽 🇳🇵 🇯🇵")},                                  // ZWJ, modifier, flags
    };
}

} // namespace worldscripts
