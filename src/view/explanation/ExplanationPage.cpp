// The index (explanation) page: a help text across the whole window.
#include "view/Language.h"
#include "view/VeskView.h"

namespace {

// Paragraphs open with four blanks and are joined by a single line feed.
constexpr LangText kPageText = {
    // English
    "    KBR_DORIN belongs to ''Arvenlo'' series.\n"
    "    Test and train your reaction (reflex) pushing buttons/keys as quick as you can. Choose mode using "
    "toolbar buttons or keys A, B, C.\n"
    "    A: FINDING reaction. On seeing b l a c k square, push any mouse button or key.\n"
    "    B: DISTINCTION reaction. On seeing r e d square, push any mouse button or key. On seing g r e e n, "
    "don't push anything.\n"
    "    C: SELECTIVE reaction. On seeing y e l l o w square, push left mouse button or S/Z/2/5 (numbers on "
    "right side). On seeing b l u e square, push right mouse button or L/X/3/6.\n"
    "    You will get info about each attemption reaction time in miliseconds, average of 10 clicks series, "
    "session and total records (stored in kbr_dorin.ini). Mistake or falstart discards average counting and "
    "begins new.",
    // Russian in Latin letters; its last paragraph, the transliteration key, is not indented
    "    KBR_DORIN vxodit v seriyu pragram dlia treninga mozga ''Arvenlo''. Ispqtai i trenirui reaktsqyu bqstro "
    "najqmaya klavicq. Rejqm mojna vqbrat' najqmaya A, B, C na knopatcnai palase ili na klaviature.\n"
    "    A: Reaktsqya NAXAJDENIYA ili PRASTAYA reaktsqya. Uvidiv t c i o r n q kvadrat jmi liubuyu mqcqnuyu "
    "knopku ili klavicu.\n"
    "    B: Reaktsqya RAZLITCENIYA. Uvidiv k r a s n q kvadrat jmi liubuyu mqcqnuyu knopku ili klavicu. Uvidiv "
    "z e l i o n q nidelai nitcevo.\n"
    "    C: Reaktsqya VQBARA ili SELEKTIVNAYA reaktsqya. Uvidiv j i o l t q kvadrat, jmi levuyu mqcqnuyu knopku "
    "ili adnu klavicu iz S/Z/2/5 (tcisla na pravam sektare). Uvidiv s i n i kvadrat, jmi pravuyu mqcqnuyu "
    "knopku ili adnu klavicu iz L/X/3/6.\n"
    "    Budut zapisqvatsa vremia reaktsqi kajdai papytki v milisekundax, sredniaya reaktsqya v serii iz 10 "
    "najatiy, rekord sesii i absaliutnq rekord (xranitsa v kbr_dorin.ini). Acqbka ili falstart natcinaet "
    "padctcitu srednei reaktsqi serii s natcala.\n"
    "a b v g d e .j z i k l m n o p r s t u f x .ts .tc .c .ctc .q .' e yu ya",
    // Lithuanian
    "    KBR_DORIN priklauso programų serijai ''Arvenlo'', kuri skirta smegenų lavinimui.\n"
    "    Išbandyk ir treniruok reakciją greitai spaudydamas klavišus. Režimą galima pasirinkti spaudžiant A, B, "
    "C įrankių juostoje arba klaviatūroje.\n"
    "    A: RADIMO reakcija. Pamatęs j u o d ą kvadratą, spausk bet kurį pelės klavišą arba mygtuką.\n"
    "    B: SKYRIMO reakcija. Pamatęs r a u d o n ą kvadratą, spausk bet kurį pelės klavišą arba mygtuką. "
    "Pamatęs ž a l i ą, nedaryk nieko.\n"
    "    C: SELEKTYVINĖ reakcija. Pamatęs g e l t o n ą kvadratą, spausk kairį pelės klavišą arba S/Z/2/5 "
    "(skaičiai dešinėje pusėje). Pamatęs m ė l y n ą kvadratą, spausk dešinį pelės klavišą arba L/X/3/6.\n"
    "    Bus pateikiama kiekvieno mėginimo reakcijos laikas, 10 paspaudimų serijos vidurkis, sesijos ir "
    "absoliutus rekordas (saugomas kbr_dorin.ini faile). Klaida arba falstartas pradeda vidurkio skaičiavimą "
    "iš naujo.",
    // Lithuanian in Latin letters
    "    KBR_DORIN priklauso programu serijai ''Arvenlo'', kuri skirta smegenu lavinimui.\n"
    "    Isbandyk ir treniruok reakcija greitai spaudydamas klavisus. Rezima galima pasirinkti spaudziant A, B, "
    "C irankiu juostoje arba klaviaturoje.\n"
    "    A: RADIMO reakcija. Pamates j u o d a kvadrata, spausk bet kuri peles klavisa arba mygtuka.\n"
    "    B: SKYRIMO reakcija. Pamates r a u d o n a kvadrata, spausk bet kuri peles klavisa arba mygtuka. "
    "Pamates z a l i a, nedaryk nieko.\n"
    "    C: SELEKTYVINE reakcija. Pamates g e l t o n a kvadrata, spausk kairi peles klavisa arba S/Z/2/5 "
    "(skaiciai desineje puseje). Pamates m e l y n a kvadrata, spausk desini peles klavisa arba L/X/3/6.\n"
    "    Bus pateikiama kiekvieno meginimo reakcijos laikas, 10 paspaudimu serijos vidurkis, sesijos ir "
    "absoliutus rekordas (saugomas kbr_dorin.ini faile). Klaida arba falstartas pradeda vidurkio skaiciavima "
    "is naujo.",
};

constexpr int kMargin = 20;
constexpr int kNarrowMargin = 9;  // top and bottom for the longer Russian text

}  // namespace

void CVeskView::ShowExplanationPage()
{
    CVeskDoc& doc = GetDocument();
    ClearClientArea();
    ResetState("big");

    const bool russian = doc.m_chLanguage == 'R';
    const char* text = ChooseText(doc.m_chLanguage, kPageText);
    m_pDC->SelectFont(m_fontPage);
    Rect rect = m_pDC->GetClientRect();
    const int vertical = russian ? kNarrowMargin : kMargin;
    rect.left += kMargin;
    rect.right -= kMargin;
    rect.top += vertical;
    rect.bottom -= vertical;
    if (russian)
        m_pDC->SelectFont(m_fontNarrow);
    m_pDC->DrawText(text, rect);
}
