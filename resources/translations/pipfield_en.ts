<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ko">
<context>
    <name>pipfield</name>
    <message>
        <source>견습 장비</source>
        <translation>Apprentice gear</translation>
    </message>
    <message>
        <source>숙련 장비</source>
        <translation>Skilled gear</translation>
    </message>
    <message>
        <source>장인 장비</source>
        <translation>Artisan gear</translation>
    </message>
    <message>
        <source>명인 장비</source>
        <translation>Master gear</translation>
    </message>
    <message>
        <source>기본 장비</source>
        <translation>Basic gear</translation>
    </message>
    <message>
        <source>유레카 레몬</source>
        <translation>Eureka lemon</translation>
    </message>
    <message>
        <source>금귤</source>
        <translation>Kumquat</translation>
    </message>
    <message>
        <source>마이어 레몬</source>
        <translation>Meyer lemon</translation>
    </message>
    <message>
        <source>깔라만시</source>
        <translation>Calamansi</translation>
    </message>
    <message>
        <source>라임</source>
        <translation>Lime</translation>
    </message>
    <message>
        <source>블러드 오렌지</source>
        <translation>Blood orange</translation>
    </message>
    <message>
        <source>유자</source>
        <translation>Yuja</translation>
    </message>
    <message>
        <source>자몽</source>
        <translation>Grapefruit</translation>
    </message>
    <message>
        <source>핑크 레몬</source>
        <translation>Pink lemon</translation>
    </message>
    <message>
        <source>한라봉</source>
        <translation>Hallabong</translation>
    </message>
    <message>
        <source>불수감</source>
        <translation>Buddha&apos;s hand</translation>
    </message>
    <message>
        <source>황금 레몬</source>
        <translation>Golden lemon</translation>
    </message>
    <message>
        <source>심기 일꾼</source>
        <translation>Planter</translation>
    </message>
    <message>
        <source>돌보기 일꾼</source>
        <translation>Caretaker</translation>
    </message>
    <message>
        <source>수확 일꾼</source>
        <translation>Harvester</translation>
    </message>
    <message>
        <source>흙을 일궈 레몬 값을 올려요</source>
        <translation>Tills the soil so lemons sell for more</translation>
    </message>
    <message>
        <source>물을 줘서 나무를 빨리 키워요</source>
        <translation>Waters the trees so they grow faster</translation>
    </message>
    <message>
        <source>익은 열매를 따서 창고에 담아요</source>
        <translation>Picks ripe fruit and fills the crate</translation>
    </message>
    <message>
        <source>토리</source>
        <translation>Tori</translation>
    </message>
    <message>
        <source>준</source>
        <translation>Jun</translation>
    </message>
    <message>
        <source>봄이</source>
        <translation>Bomi</translation>
    </message>
    <message>
        <source>새미</source>
        <translation>Saemi</translation>
    </message>
    <message>
        <source>레아</source>
        <translation>Lea</translation>
    </message>
    <message>
        <source>하루</source>
        <translation>Haru</translation>
    </message>
    <message>
        <source>판매가 +%1%%</source>
        <translation>Sale price +%1%%</translation>
    </message>
    <message>
        <source>성장 속도 +%1%%</source>
        <translation>Growth +%1%%</translation>
    </message>
    <message>
        <source>1분에 %1개 수확</source>
        <translation>Picks %1 a minute</translation>
    </message>
    <message>
        <source>과수원을 저장해요</source>
        <translation>Saving the orchard</translation>
    </message>
    <message>
        <source>이미지를 저장하지 못했어요: %1</source>
        <translation>The picture could not be saved: %1</translation>
    </message>
    <message>
        <source>그림을 만들 수 없어요.</source>
        <translation>The picture could not be made.</translation>
    </message>
    <message>
        <source>%1 폴더를 만들 수 없어요.</source>
        <translation>Cannot create the folder %1.</translation>
    </message>
    <message>
        <source>과수원 관리…</source>
        <translation>Manage the orchard…</translation>
    </message>
    <message>
        <source>클릭 통과</source>
        <translation>Click-through</translation>
    </message>
    <message>
        <source>과수원 띠 보이기</source>
        <translation>Show the orchard strip</translation>
    </message>
    <message>
        <source>종료</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>창고가 거의 찼어요</source>
        <translation>The crate is almost full</translation>
    </message>
    <message>
        <source>핍필드</source>
        <translation>Pipfield</translation>
    </message>
    <message>
        <source>창고 %1/%2 · 코인 %3</source>
        <translation>Crate %1/%2 · Coins %3</translation>
    </message>
    <message>
        <source>모두 팔기 (+%1)</source>
        <translation>Sell all (+%1)</translation>
    </message>
    <message>
        <source>창고가 레몬으로 가득 찼어요</source>
        <translation>The crate is full of lemons</translation>
    </message>
    <message>
        <source>팔러 와 주세요. 일꾼들이 기다리고 있어요.</source>
        <translation>Come and sell them. The workers are waiting.</translation>
    </message>
    <message>
        <source>%1일 %2시간</source>
        <translation>%1 d %2 h</translation>
    </message>
    <message>
        <source>%1일</source>
        <translation>%1 d</translation>
    </message>
    <message>
        <source>%1시간 %2분</source>
        <translation>%1 h %2 min</translation>
    </message>
    <message>
        <source>%1시간</source>
        <translation>%1 h</translation>
    </message>
    <message>
        <source>%1분</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>창고가 가득 차 있어서 열매 %1개가 그대로 기다리고 있어요</source>
        <translation>The crate was full all along, with %1 fruit waiting</translation>
    </message>
    <message>
        <source>그동안 열매 %1개를 땄고, 창고는 %2 만에 가득 차서 %3개가 기다리고 있어요</source>
        <translation>While you were away: %1 picked, crate full after %2, %3 waiting</translation>
    </message>
    <message>
        <source>그동안 열매 %1개를 따서 창고에 %2개가 기다리고 있어요</source>
        <translation>While you were away: %1 picked, %2 waiting in the crate</translation>
    </message>
    <message>
        <source>그동안 딴 열매는 없고, 창고에 %1개가 있어요</source>
        <translation>Nothing picked while you were away; the crate holds %1</translation>
    </message>
    <message>
        <source>어서 오세요</source>
        <translation>Welcome back</translation>
    </message>
    <message>
        <source>이번 주 과수원 기록</source>
        <translation>This week in the orchard</translation>
    </message>
    <message>
        <source>딴 레몬</source>
        <translation>Lemons picked</translation>
    </message>
    <message>
        <source>판 레몬</source>
        <translation>Lemons sold</translation>
    </message>
    <message>
        <source>번 코인</source>
        <translation>Coins earned</translation>
    </message>
    <message>
        <source>새로 심은 나무</source>
        <translation>Trees planted</translation>
    </message>
    <message>
        <source>살 수 있어요</source>
        <translation>You can buy it</translation>
    </message>
    <message>
        <source>코인이 %1 모자라요</source>
        <translation>%1 coins short</translation>
    </message>
    <message>
        <source>밭이 다 찼어요</source>
        <translation>The field is full</translation>
    </message>
    <message>
        <source>레벨 %1부터 한 명 더 고용할 수 있어요</source>
        <translation>A second one can be hired from level %1</translation>
    </message>
    <message>
        <source>최고 레벨이에요</source>
        <translation>Top level</translation>
    </message>
    <message>
        <source>%1 코인 %2</source>
        <translation>%1, %2 coins</translation>
    </message>
    <message>
        <source>코인 %1</source>
        <translation>%1 coins</translation>
    </message>
    <message>
        <source>창고</source>
        <translation>Crate</translation>
    </message>
    <message>
        <source>%1개 중 %2개</source>
        <translation>%2 of %1</translation>
    </message>
    <message>
        <source>딴 열매 %1개</source>
        <translation>%1 picked</translation>
    </message>
    <message>
        <source>아직 안 심었어요</source>
        <translation>Not planted yet</translation>
    </message>
    <message>
        <source>해금 %1</source>
        <translation>Unlock %1</translation>
    </message>
    <message>
        <source>심어 본 나무 %1 / %2</source>
        <translation>Kinds planted %1 / %2</translation>
    </message>
    <message>
        <source>옷 색</source>
        <translation>Clothes</translation>
    </message>
    <message>
        <source>모두 팔기 +</source>
        <translation>Sell all +</translation>
    </message>
    <message>
        <source>모두 팔기 +%1</source>
        <translation>Sell all +%1</translation>
    </message>
    <message>
        <source>과수원 관리</source>
        <translation>Pipfield orchard</translation>
    </message>
    <message>
        <source>과수원</source>
        <translation>Orchard</translation>
    </message>
    <message>
        <source>일꾼</source>
        <translation>Workers</translation>
    </message>
    <message>
        <source>꾸미기</source>
        <translation>Style</translation>
    </message>
    <message>
        <source>도감</source>
        <translation>Collection</translation>
    </message>
    <message>
        <source>기록</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>설정</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>한 개 %1코인 · %2초마다 열매 · 다 자라는 데 %3분</source>
        <translation>%1 coins each · fruit every %2 s · grown in %3 min</translation>
    </message>
    <message>
        <source>심기</source>
        <translation>Plant</translation>
    </message>
    <message>
        <source>%1그루</source>
        <translation>%1 planted</translation>
    </message>
    <message>
        <source>해금</source>
        <translation>Unlock</translation>
    </message>
    <message>
        <source>바꿔 심기</source>
        <translation>Replant</translation>
    </message>
    <message>
        <source>자라는 중 %1%%</source>
        <translation>Growing %1%%</translation>
    </message>
    <message>
        <source>열매 %1개</source>
        <translation>%1 fruit</translation>
    </message>
    <message>
        <source>열매 맺는 중</source>
        <translation>Bearing fruit</translation>
    </message>
    <message>
        <source>잠김</source>
        <translation>Locked</translation>
    </message>
    <message>
        <source>나무 심기</source>
        <translation>Plant a tree</translation>
    </message>
    <message>
        <source>내 밭</source>
        <translation>My field</translation>
    </message>
    <message>
        <source>넓히기</source>
        <translation>Enlarge</translation>
    </message>
    <message>
        <source>밭 %1 / %2칸. 밭이 다 차면 아래에서 바꿔 심을 수 있어요.</source>
        <translation>Field: %1 of %2 plots. Once it is full, replant below.</translation>
    </message>
    <message>
        <source>레벨 %1 · %2개 보관</source>
        <translation>Level %1 · holds %2</translation>
    </message>
    <message>
        <source>다음 레벨: %1개</source>
        <translation>Next level: %1</translation>
    </message>
    <message>
        <source>이미지로 저장…</source>
        <translation>Save as image…</translation>
    </message>
    <message>
        <source>이미지 복사</source>
        <translation>Copy image</translation>
    </message>
    <message>
        <source>이번 주 과수원 기록 %1</source>
        <translation>This week in the orchard, %1</translation>
    </message>
    <message>
        <source>과수원 띠</source>
        <translation>Orchard strip</translation>
    </message>
    <message>
        <source>띠 보이기</source>
        <translation>Show the strip</translation>
    </message>
    <message>
        <source>끄면 띠의 나무를 눌러 바로 따고, 창고를 눌러 팔 수 있어요. 그동안 띠 아래 창은 누를 수 없어요.</source>
        <translation>When off, click a tree in the strip to pick it and the crate to sell it; windows under the strip cannot be clicked meanwhile.</translation>
    </message>
    <message>
        <source>전체 화면 앱에서는 숨기기</source>
        <translation>Hide over full-screen apps</translation>
    </message>
    <message>
        <source>모니터</source>
        <translation>Screen</translation>
    </message>
    <message>
        <source>알림</source>
        <translation>Notifications</translation>
    </message>
    <message>
        <source>창고가 가득 차면 알려 주기</source>
        <translation>Tell me when the crate is full</translation>
    </message>
    <message>
        <source>시스템 설정에서 핍필드 알림이 꺼져 있어요.</source>
        <translation>Pipfield&apos;s notifications are off in the system settings.</translation>
    </message>
    <message>
        <source>알림 설정 열기</source>
        <translation>Open notification settings</translation>
    </message>
    <message>
        <source>시작</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>로그인할 때 열기</source>
        <translation>Open at login</translation>
    </message>
    <message>
        <source>버전</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>주 모니터</source>
        <translation>Main screen</translation>
    </message>
    <message>
        <source>이름</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>캐릭터</source>
        <translation>Character</translation>
    </message>
    <message>
        <source>과수원 빛</source>
        <translation>Orchard light</translation>
    </message>
    <message>
        <source>테마</source>
        <translation>Theme</translation>
    </message>
    <message>
        <source>시간대에 따라 빛 바꾸기</source>
        <translation>Light follows the time of day</translation>
    </message>
    <message>
        <source>아침·저녁·밤에 띠의 빛이 바뀌고, 밤에는 랜턴과 반딧불이 나와요.</source>
        <translation>The strip&apos;s light changes in the morning, evening and night; at night lanterns and fireflies come out.</translation>
    </message>
    <message>
        <source>일꾼 꾸미기</source>
        <translation>Dress the workers</translation>
    </message>
    <message>
        <source>일꾼을 고용하면 꾸밀 수 있어요.</source>
        <translation>Hire workers to dress them.</translation>
    </message>
    <message>
        <source>이번 주</source>
        <translation>This week</translation>
    </message>
    <message>
        <source>%1주</source>
        <translation>W%1</translation>
    </message>
    <message>
        <source>최근 8주 기록</source>
        <translation>The last eight weeks</translation>
    </message>
    <message>
        <source>딴 열매</source>
        <translation>Fruit picked</translation>
    </message>
    <message>
        <source>레벨 %1에 %2</source>
        <translation>%2 at level %1</translation>
    </message>
    <message>
        <source>고용</source>
        <translation>Hire</translation>
    </message>
    <message>
        <source>한 명 더…</source>
        <translation>One more…</translation>
    </message>
    <message>
        <source>레벨 %1</source>
        <translation>Level %1</translation>
    </message>
    <message>
        <source>아직 없음</source>
        <translation>None yet</translation>
    </message>
    <message>
        <source>고용하면 %1</source>
        <translation>Hired: %1</translation>
    </message>
    <message>
        <source>지금 %1 · 다음 레벨 %2</source>
        <translation>Now %1 · next level %2</translation>
    </message>
    <message>
        <source>함께 일하는 %1</source>
        <translation>%1 works alongside</translation>
    </message>
    <message>
        <source>레벨 업</source>
        <translation>Level up</translation>
    </message>
    <message>
        <source>같은 역할 일꾼을 한 명 더 고용해요</source>
        <translation>Hire a second worker for the same job</translation>
    </message>
    <message>
        <source>%1 한 명 더 고용</source>
        <translation>Hire another %1</translation>
    </message>
    <message>
        <source>취소</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>레벨 %1, %2, %3, %4에서 장비가 좋아져요. 레벨 %5부터 같은 역할 일꾼을 한 명 더 고용할 수 있고, 두 명이면 효과가 %6배예요.</source>
        <translation>Gear gets better at levels %1, %2, %3 and %4. From level %5 a second worker can be hired for the same job; two do %6 times the work.</translation>
    </message>
    <message>
        <source>레몬 과수원</source>
        <translation>Lemon orchard</translation>
    </message>
    <message>
        <source>햇살</source>
        <translation>Sunny</translation>
    </message>
    <message>
        <source>봄빛</source>
        <translation>Spring</translation>
    </message>
    <message>
        <source>노을</source>
        <translation>Sunset</translation>
    </message>
    <message>
        <source>달밤</source>
        <translation>Moonlit</translation>
    </message>
    <message>
        <source>빨강</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>주황</source>
        <translation>Orange</translation>
    </message>
    <message>
        <source>초록</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>하늘</source>
        <translation>Sky</translation>
    </message>
    <message>
        <source>보라</source>
        <translation>Purple</translation>
    </message>
    <message>
        <source>분홍</source>
        <translation>Pink</translation>
    </message>
    <message>
        <source>원래 색</source>
        <translation>Original</translation>
    </message>
    <message>
        <source>Pip Field · %1</source>
        <translation>Pip Field · %1</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>절전 모드 따르기</source>
        <translation>Follow the power saver</translation>
    </message>
    <message>
        <source>컴퓨터가 절전 모드일 때는 효과를 끄고 더 느긋하게 움직여요.</source>
        <translation>While the computer saves power, effects stay off and everyone moves at a gentler pace.</translation>
    </message>
</context>
</TS>
