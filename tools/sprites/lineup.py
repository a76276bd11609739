"""The line-up: every vehicle on the sheet as a shape and its touches, and vehicles turned
round for the other direction and laid broadside for the cross traffic."""
from .cars import (Car, badge, build_car, cockpit, flames, grille, limo_trim, racing_livery,
    rear_spoiler, rear_wiper, roof_rails, sunroof)
from .trucks import build_kei, build_lorry


def saloon_navy():
    # the plain family saloon: narrower, with rounded corners and a waisted three-box body
    return build_car(Car(W=48, paint="navy", rf=14.0, rr=12.0, taper_f=4.0, taper_len_f=30.0,
                         taper_r=3.5, taper_len_r=24.0, waist=1.0, fender_len=10.0,
                         extras=[grille, badge]))


def hatch_red():
    return build_car(Car(W=53, paint="vermil", rf=12.0, rr=5.0, taper_f=3.0,
                         a=20.0, b=33.0, c=70.0, d=81.0, ga=20.0, gr=16.0, sb=4.0, gd=19.5,
                         cpillar=2.0, head=(3.0, 8.0, 12.0, 22.5), tail=(2.0, 6.0, 17.0, 24.5),
                         axle_f=15.0, axle_r=92 - 15.0, bumper_r=2,
                         extras=[grille, rear_spoiler(69.0, 72.0, 19.0, 7.5, "trim"),
                                 rear_wiper]))


def wagon_white(W=51):
    # an estate: a box with its corners barely rounded, the roof running to the tail
    return build_car(Car(W=W, paint="white", rf=3.0, rr=2.0, taper_f=0.6, taper_len_f=12.0,
                         taper_r=0.0,
                         a=25.0, b=37.0, c=83.0, d=87.0, gd=19.0, cpillar=1.5,
                         pillars=[52.0, 68.0], tail=(1.0, 8.0, 20.5, 24.0),
                         axle_r=92 - 17.0, bumper_mat="chrome", extras=[grille, roof_rails]))


def roadster_red():
    return build_car(Car(W=44, L=84, paint="vermil", rf=13.0, rr=8.0, taper_f=4.0,
                         taper_len_f=30.0, hb=6.0, cab="open", a=32.0, b=37.0, ga=15.0,
                         gr=14.0, sb=1.0, hr=10.0, head_shape="round",
                         head=(5.0, 11.0, 10.0, 16.0), tail=(2.5, 3.0, 10.0, 18.0),
                         axle_f=16.0, axle_r=84 - 15.0, bumper_f=2, bumper_r=2,
                         bumper_mat="chrome", extras=[cockpit], seams=False))


def saloon_crimson():
    # a big formal saloon: square corners and a long boot
    return build_car(Car(W=57, L=91, paint="crimson", rf=5.0, rr=3.0, taper_f=1.0,
                         taper_r=0.4, a=28.0, b=41.0, c=58.0,
                         d=72.0, ga=21.0, gr=17.0, sb=4.0, gd=19.5, head=(3.0, 7.0, 12.0, 25.0),
                         tail=(3.0, 3.0, 13.0, 25.5), bumper_mat="chrome",
                         extras=[grille, badge, sunroof(46.0, 56.0, 9.0)]))


def rival_purple(W=58):
    # wide stance: flared arches over the wheels, the body pulled in between them
    return build_car(Car(W=W - 5, paint="purple", rf=10.0, rr=7.0, taper_f=3.0, fender=3.5,
                         waist=2.0, fender_len=10.0, a=34.0, b=46.0, c=60.0, d=74.0, ga=20.0 * W / 58,
                         gr=14.0 * W / 58, sb=5.0, gd=18.0 * W / 58, hb=6.5, hr=12.0,
                         cpillar=4.0, head=(3.0, 7.0, 13.0, W / 2 - 4),
                         tail=(3.0, 3.0, 12.0, W / 2 - 2.5),
                         extras=[flames, rear_spoiler(92 - 7.0, 92 - 4.0, W / 2 - 3.0, 4.0)]))


def racer_red():
    # low and wide: a long pointed nose, a waist pinched between the wheels, a square tail
    return build_car(Car(W=58, paint="vermil", rf=6.0, rr=2.0, taper_f=12.0, taper_len_f=38.0,
                         fender=1.5, waist=5.0, fender_len=9.0, hb=5.0, hr=10.0, rs=7.0,
                         a=36.0, b=46.0, c=56.0, d=62.0, ga=15.0, gr=10.0, sb=3.0, gd=11.0,
                         cpillar=5.0, bumper_mat=None, head=(4.0, 9.0, 14.0, 22.0),
                         tail=(0.5, 3.0, 13.0, 24.0), axle_f=18.0, axle_r=92 - 20.0,
                         tyre_len=16.0, extras=[racing_livery], seams=False, wipers=False))


def kei_pickup():
    return build_kei("white", covered=False)


def kei_covered():
    return build_kei("white", covered=True)


def lorry():
    return build_lorry("teal")


def limo_bluegrey():
    return build_car(Car(H=128, W=55, L=126, paint="bluegrey", a=32.0, b=44.0, c=102.0,
                         d=111.0, ga=21.0, gr=16.0, sb=4.0, gd=19.0, pillars=[64.0, 84.0],
                         axle_f=20.0, axle_r=126 - 22.0, head=(3.0, 7.0, 13.0, 24.0),
                         tail=(3.0, 3.0, 13.0, 24.5), bumper_mat="chrome",
                         extras=[grille, badge, limo_trim]))


def coupe_bluegrey():
    # a short coupe: long tapering bonnet, round corners, narrow waist, short fastback
    return build_car(Car(W=51, L=86, paint="bluegrey", rf=14.0, rr=10.0, taper_f=5.0,
                         taper_len_f=36.0, fender=1.0, waist=2.0, fender_len=9.0,
                         a=30.0, b=42.0, c=50.0, d=73.0, gd=15.0, cpillar=2.0,
                         tail=(3.0, 3.0, 4.0, 21.0), axle_f=18.0, axle_r=86 - 17.0,
                         extras=[grille, rear_spoiler(78.0, 81.0, 20.0, 2.5)]))


def saloon_beige(W=51):
    return build_car(Car(W=W, paint="beige", rf=5.0, rr=5.0, taper_f=1.0, a=27.0, b=39.0,
                         c=61.0, d=70.0, head_shape="round", head=(3.0, 9.0, 14.0, 20.0),
                         bumper_mat="chrome", extras=[grille, badge]))


# ---------------------------------------------------------------- turning vehicles round

def facing_down(model, top=1, length=92):
    """The same vehicle turned the other way, its top again at row `top`."""
    turned = model.turned()
    dy = top - (model.h - top - length)
    return turned.shifted(model.w, model.h, 0, dy)


def broadside(model, leftwards=False):
    """A nose-up car laid on its side for the cross traffic: 96 x 64, its top at row 1."""
    side = model.quarter_right().shifted(96, 64, -1, -6)
    return side.mirrored() if leftwards else side
