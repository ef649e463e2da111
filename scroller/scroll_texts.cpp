// The eight scroll texts. Each is a char array built from adjacent literals,
// so its length comes from sizeof and no terminator is counted.
//
// Writing conventions for the texts (the charset has no other glyphs):
// lower case only; A O U S mean ä ö ü ß; every other capital, the ampersand
// and any non-ASCII byte show as the plus-sign glyph. The few such bytes in
// the texts below are kept on purpose (alb's editor wrote UTF-8, fem likes
// her ampersands, jup shouts), so the fallback glyph is seen on screen.
// Non-ASCII bytes are written as escapes, and a literal is split after each
// escape so a following letter cannot extend it.
#include "scroller/scroll_texts.h"

static const char INTRO_TEXT[] =
    "hallo und herzlich willkommen zu dorirova, der neuen produktion von krv! "
    "schnappt euch ein getrAnk, dreht die musik laut und lehnt euch zurUck. "
    "kurz zur bedienung, weil das eh keiner liest: mit den pfeiltasten hoch und "
    "runter wAhlt ihr einen der sieben scroller im menU, jeder davon ist die "
    "persOnliche botschaft eines mitglieds. mit links und rechts blAttert ihr "
    "durch die fotos. escape beendet die ganze show, aber das macht ihr doch "
    "nicht, oder? :D    die credits: code von alb und hix, grafik von dun und "
    "fem, musik von kes, fotos von gol und jup.     greetings fly out to "
    "bitbAckerei, kachelofen, mondpudding, vektorvogel, the gummibaum crew, "
    "zwiebelring, quarkspeise, taschenrechner inc. und nebelkrAhe!     und "
    "jetzt: hoch oder runter drUcken und lesen ...     ";

static const char ALB_TEXT[] =
    "hi, hier spricht alb an der tastatur. zusammen mit hix habe ich den code "
    "fUr dorirova verbrochen, und es war eine der sch\xC3\xB6"
    "nsten wochen des jahres. angefangen hat alles mit einer idee von gol: eine "
    "diashow mit seinen fotos, ein paar grafiken, ein scroller und gute musik, "
    "sonst nichts. klingt einfach, oder? hahaha. am ende saSen wir drei nAchte "
    "im keller, bei gefUhlten 30\xC2\xB0"
    " celsius, mit zu viel kaffee und zu wenig schlaf. der pixel-Ubergang "
    "zwischen den bildern war meine baustelle: jedes foto gibt es in sieben "
    "stufen, mit immer gr\xC3\xB6"
    "Seren kl\xC3\xB6"
    "tzchen, und beim wechsel wird das alte bild erst grob und das neue danach "
    "wieder scharf. hat ewig gedauert, bis das flUssig lief, aber jetzt bin ich "
    "schon ein bisschen stolz drauf. apropos: falls ihr in diesem text hier und "
    "da ein paar seltsame pluszeichen seht, das ist kein bug im scroller, das "
    "ist mein editor. der speichert manche buchstaben anders, als unser "
    "zeichensatz es mag, und ich war zu faul zum korrigieren. ihr seid ja nicht "
    "bl\xC3\xB6"
    "d, ihr kriegt das schon raus.     ich m\xC3\xB6"
    "chte mich bei allen bedanken, die mein geklapper bis vier uhr morgens "
    "ertragen haben. und bei meiner katze, die dreimal quer Uber die tastatur "
    "gelaufen ist und dabei einen halben abend arbeit vernichtet hat. sie "
    "bekommt trotzdem ein leckerli.     a word in english: if you ever think "
    "about making your first demo, just do it. nobody starts perfect, we "
    "certainly did not.     zum schluss noch ein paar private grUSe: an hix, "
    "der mehr code geschrieben hat als ich und trotzdem nie meckert. an kes, "
    "dessen musik ich seit wochen nicht mehr aus dem kopf kriege. an gol und "
    "jup fUr die fotos und die guten br\xC3\xB6"
    "tchen am sonntagmorgen. und an alle, die bis hierhin gelesen haben: ihr "
    "seid die besten. ich h\xC3\xB6"
    "re jetzt auf, bevor es peinlich wird. alb signing off ...      ";

static const char DUN_TEXT[] =
    "moin moin, hier ist dun! von mir stammen das logo oben rechts, der "
    "bilderrahmen um die fotos und der sternenhimmel im hintergrund. die sterne "
    "habe ich alle einzeln gesetzt. das logo habe ich bestimmt zwanzigmal neu "
    "gemalt, bis alle zufrieden waren, und am ende haben wir fast die erste "
    "version genommen. typisch. der rahmen war eigentlich aus holz geplant, "
    "jetzt ist er irgendwie metall geworden, aber egal, sieht trotzdem gut aus. "
    "pixeln ist fUr mich wie meditation: kopfhOrer auf, zoom auf 1600% und die "
    "welt drauSen vergessen.     greetings to all pixel artists out there, keep "
    "your palettes small and your dithering clean! besonderer dank an fem fUrs "
    "korrigieren meiner farben und an kes fUr den soundtrack beim malen. dun "
    "over and out ...     ";

static const char FEM_TEXT[] =
    "hey leute, fem hier! ich habe mit dun zusammen die grafiken gemacht, vor "
    "allem den zeichensatz, den ihr gerade lest, und das menU da rechts. jeder "
    "buchstabe hat 18 mal 16 pixel, und glaubt mir, ein hUbsches S auf so wenig "
    "platz ist eine kunst fUr sich. nebenbei lief die ganze zeit drum & bass, "
    "sonst hAtte ich das nicht durchgehalten. am anfang hatte der zeichensatz "
    "Ubrigens keine umlaute, die habe ich erst in der letzten nacht "
    "nachgepixelt, deshalb sehen sie ein kleines bisschen mUde aus.     "
    "shoutouts to my sister & her cat, to everyone who ever drew a font pixel "
    "by pixel, and to the whole krv crew for the best weekend of the year. bis "
    "zum nAchsten mal, bleibt bunt! fem     ";

static const char GOL_TEXT[] =
    "servus, gol am mikro. einen teil der fotos, durch die ihr mit links und "
    "rechts blAttern kOnnt, habe ich auf unserer radtour im letzten sommer "
    "gemacht, den rest hat jup geknipst. ihr seht seen, wiesen, eine alte mUhle "
    "und ziemlich viele wolken, denn geregnet hat es natUrlich jeden zweiten "
    "tag. die idee zu dieser diashow kam mir abends am lagerfeuer: statt die "
    "bilder auf einer festplatte verstauben zu lassen, machen wir eine kleine "
    "demo daraus. alb und hix haben sofort ja gesagt, der rest der truppe war "
    "nach dem zweiten bier auch dabei. mein lieblingsbild ist das mit dem nebel "
    "Uber dem feld, kurz nach sonnenaufgang. dafUr bin ich um fUnf uhr "
    "aufgestanden, und die anderen haben mich fUr verrUckt erklArt. wartet ein "
    "weilchen, es kommt bald vorbei.     greetings to everybody who still "
    "carries a real camera around, and thanks to my bike for surviving the "
    "trip. grUSe auch an den bauern, der uns in seiner scheune hat schlafen "
    "lassen, als das zelt weggeflogen ist. gol, ende.     ";

static const char HIX_TEXT[] =
    "hallo, hix hier. macht es euch bequem, das hier wird ein langer text. ich "
    "bin der, der neben alb den groSteil des codes geschrieben hat: die "
    "schleife, die jedes bild zeichnet, das archiv mit allen bildern und der "
    "musik, und diesen scroller hier, auf den ich besonders stolz bin. er "
    "zeichnet nur die buchstaben, die gerade auf dem bildschirm sind, und "
    "springt Uber alles links davon in einem einzigen rechenschritt hinweg. "
    "deshalb ist es ihm vOllig egal, wie lang mein text wird, und das nutze ich "
    "jetzt schamlos aus.     wo fange ich an? vielleicht ganz vorne. krv gibt "
    "es eigentlich schon seit der schulzeit. alb, gol und ich saSen in der "
    "letzten reihe im informatikraum und haben statt der hausaufgaben kleine "
    "grafikeffekte programmiert: feuer, plasma, sterne, alles, was man so "
    "macht, wenn man sechzehn ist und zu viel zeit hat. der name krv war "
    "Ubrigens ein tippfehler auf einem diskettenetikett, und irgendwann war es "
    "zu spAt, ihn zu Andern. was er bedeutet? das verraten wir nicht, auch wenn "
    "jup es gern tAte.     dann kamen studium, arbeit, umzUge, und die gruppe "
    "ist jahrelang eingeschlafen. bis gol im letzten herbst mit seinen fotos "
    "vor der tUr stand und meinte: lasst uns noch einmal was zusammen machen, "
    "zum spaS. und jetzt lest ihr das hier.     ein paar worte zur technik, fUr "
    "die, die es interessiert (alle anderen dUrfen kurz weghOren und sich die "
    "fotos anschauen): alles lAuft in einem einzigen thread, ohne tricks. jede "
    "ebene, also hintergrund, fotos, scroller und logo, misst ihre zeit mit "
    "einer eigenen stoppuhr, und die bildschleife ruft sie einfach der reihe "
    "nach auf, so schnell sie kann. die bilder und die musik stecken in einem "
    "gepackten archiv direkt im programm. alles ist auf einen virtuellen "
    "bildschirm von 1024 mal 768 pixeln entworfen und wird auf eure auflOsung "
    "gestreckt. klingt altmodisch? ist es auch, und genau das macht spaS.     "
    "the hardest bug of the whole project, for the record: for two days the "
    "scroller drew every letter one pixel too far to the right, and only on my "
    "machine. it turned out i was looking at an old build the whole time. never "
    "trust a build you did not make five minutes ago. lesson learned!!     was "
    "habe ich sonst noch gelernt? dass pizza um drei uhr nachts besser schmeckt "
    "als um sieben uhr abends. dass man kaffee nicht neben die tastatur stellen "
    "sollte, das weiS ich eigentlich seit zwanzig jahren. dass kes wirklich "
    "jeden ton zehnmal umschreibt, bevor er zufrieden ist, und dass es sich "
    "jedes mal lohnt. und dass man mit sieben leuten in einem keller "
    "erstaunlich gut auskommt, solange genug steckdosen da sind.     kleiner "
    "exkurs Uber meinen rechner: der ist schon elf jahre alt, der lUfter klingt "
    "wie ein staubsauger, und eine taste klemmt, ratet mal, welche. richtig, "
    "das e. ihr kOnnt euch vorstellen, wie viel spaS es macht, auf so einer "
    "tastatur einen deutschen text zu schreiben. wenn irgendwo ein e fehlt, "
    "wisst ihr jetzt, warum.     was ich an demos so mag: man macht etwas "
    "vOllig nutzloses, und zwar so gut man kann. niemand bezahlt einen dafUr, "
    "niemand verlangt es, und trotzdem sitzt man nAchtelang da und schiebt "
    "pixel um einen halben millimeter nach links. das ist fUr mich die reinste "
    "form von hobby. and if you are watching this at a party on a big screen: "
    "hello, i hope the sound is loud and the drinks are cold.     persOnliche "
    "grUSe von mir: an meine eltern, die frUher immer gefragt haben, was ich da "
    "eigentlich die ganze nacht mache, hier ist die antwort. an alb, ohne den "
    "der pixel-Ubergang nie fertig geworden wAre. an dun und fem fUr die "
    "schOnsten grafiken, die krv je hatte. an gol und jup fUr die fotos und die "
    "organisation. an kes, weil er der einzige von uns ist, der wirklich musik "
    "machen kann. und an alle gruppen, die wir im intro gegrUSt haben, und an "
    "die, die wir vergessen haben: sorry, nAchstes mal!     so, ich glaube, das "
    "war es. wenn ihr wirklich bis hierher gelesen habt, dann habt ihr jetzt "
    "ein paar minuten eures lebens mit meinem gelaber verbracht. ich hoffe, es "
    "hat sich gelohnt. drUckt jetzt hoch oder runter und lest, was die anderen "
    "zu sagen haben. hix out, bis zur nAchsten demo.     ";

static const char JUP_TEXT[] =
    "HI! jup hier, und ja, ich schreibe ab und zu in groSbuchstaben, das nervt "
    "die anderen tierisch XD     ich habe die hAlfte der fotos gemacht und mich "
    "um alles gekUmmert, was nicht code, grafik oder musik ist: den keller, die "
    "verlAngerungskabel, die pizzabestellungen und die frage, wer wann schlafen "
    "darf. antwort: niemand, nie. :P     die fotos sind Ubrigens alle ohne "
    "filter und ohne nachbearbeitung, direkt aus der kamera. das licht auf dem "
    "see am dritten tag war einfach so. schOn, oder? gol behauptet, seine "
    "bilder seien die besseren, aber das entscheidet ihr. blAttert mit links "
    "und rechts und bildet euch eine meinung.     jetzt mal was ernstes: ich "
    "war frUher nie in der demoszene. ich kannte das nur von alb, der mir vor "
    "jahren eine diskette in die hand gedrUckt hat und meinte, guck dir das an. "
    "ich hab's angeschaut und nichts verstanden. heute sitze ich hier und "
    "schreibe einen scrolltext, das leben ist komisch.     what i learned this "
    "year: you do not need to be a coder or an artist to be part of a demo "
    "group. someone has to carry the cables, order the food and remind everyone "
    "to drink water. that someone was me, and i am proud of it. GG!     ein "
    "paar geschichten aus dem keller: am zweiten abend ist die sicherung "
    "rausgeflogen, weil kes seinen wasserkocher neben drei rechnern eingesteckt "
    "hat. alb hat nur noch geflucht. am dritten abend hat fem eine "
    "tischtennisplatte gefunden, und ab da wurde nur noch in den pausen "
    "programmiert, oder war es umgekehrt? :P und am letzten morgen hat dun das "
    "logo noch einmal komplett umgemalt, zehn minuten bevor alles fertig sein "
    "sollte. typisch krv eben.     a tip for anyone who wants to organise a "
    "demo weekend: bring twice the coffee you think you need, spare cables and "
    "someone who can cook. we had none of those, and we survived anyway.     "
    "grUSe: an kes fUr den ohrwurm, an dun fUr das logo, an fem fUr den "
    "zeichensatz, an hix fUr den scroller, der meinen text gerade Uber euren "
    "bildschirm schiebt, an alb und seine katze und an gol fUr die radtour. BIG "
    "THX an alle, die uns ein ladekabel oder einen kaffee geliehen haben. KRV "
    "FTW! jup out :D    ";

static const char KES_TEXT[] =
    "yo, kes hier, zustAndig fUr die musik. der song, den ihr hOrt, ist in "
    "einem tracker entstanden, vier wochen lang jeden abend nach der arbeit. "
    "die basslinie kam mir beim zahnarzt, ohne witz. eigentlich sollte es ein "
    "ruhiges stUck werden, mit klavier und streichern, aber jup meinte, zu "
    "einer demo gehOrt ein ordentlicher beat. jetzt gibt es beides: erst ruhig "
    "und dann ab die post. ich hoffe, das ding nervt euch auch nach der zehnten "
    "runde nicht, sonst dreht halt leiser.     greetings to all trackers out "
    "there, may your patterns always loop clean! und grUSe an meine nachbarn, "
    "die jetzt jeden ton auswendig kennen. kes out.     ";

const char *const scrollTextKeys[SCROLL_TEXT_COUNT] = {
    "intro", "alb", "dun", "fem", "gol", "hix", "jup", "kes",
};

const ScrollText scrollTexts[SCROLL_TEXT_COUNT] = {
    {INTRO_TEXT, sizeof INTRO_TEXT - 1},
    {ALB_TEXT, sizeof ALB_TEXT - 1},
    {DUN_TEXT, sizeof DUN_TEXT - 1},
    {FEM_TEXT, sizeof FEM_TEXT - 1},
    {GOL_TEXT, sizeof GOL_TEXT - 1},
    {HIX_TEXT, sizeof HIX_TEXT - 1},
    {JUP_TEXT, sizeof JUP_TEXT - 1},
    {KES_TEXT, sizeof KES_TEXT - 1},
};
